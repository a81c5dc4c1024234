#include "export/HtmlWriter.h"

#include "export/ExportTarget.h"
#include "platform/errors/AppError.h"
#include "platform/files/SafeFile.h"
#include "platform/settings/Settings.h"
#include "platform/text/Clock.h"
#include "platform/text/CodePage.h"
#include "platform/text/OutputText.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace tarnis {
namespace {

constexpr qsizetype kFlushSize = 1 << 18;

// The defaults the preference page shows, so that a page written before the
// preferences were first saved looks as it will afterwards (and never white on white).
qint64 defaultColor(const QString &key) {
    if (key.compare(u"Text", Qt::CaseInsensitive) == 0) return 0;
    if (key.compare(u"Dokument", Qt::CaseInsensitive) == 0) return 12362580;
    if (key.compare(u"Tabellenheader", Qt::CaseInsensitive) == 0) return 12632319;
    if (key.compare(u"Tabelle", Qt::CaseInsensitive) == 0) return 11976544;
    return 16777215;
}

// Only a report of "missing" means absent; any other failure (no access) counts as present.
bool pathPresent(const QString &path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) return true;
    return errno != ENOENT && errno != ENOTDIR;
}

// Printable ASCII is the same byte in CP1252 and has nothing to normalise.
bool printableAscii(const QString &text) {
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e) return false;
    return true;
}

bool isBlank(const QString &text) {
    for (QChar c : text)
        if (c != u' ') return false;
    return true;
}

}  // namespace

QString HTML_GetColor(const QString &key) {
    const QString stored = GetSetting(kHtmlSection, key);
    const qint64 value =
        textrules::Trim(stored).isEmpty() ? defaultColor(key) : GetSettingLong(kHtmlSection, key, QString());
    QString hex = QString::number(quint32(value), 16).toUpper().rightJustified(6, u'0').left(6);
    return hex.mid(4, 2) + hex.mid(2, 2) + hex.mid(0, 2);
}

QString htmlEscape(const QString &text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i) != u'&' && text.at(i) != u'<' && text.at(i) != u'>' && text.at(i) != u'"')
        ++i;
    if (i == text.size()) return text;
    QString out = text.left(i);
    out.reserve(text.size() + 16);
    for (; i < text.size(); ++i) {
        switch (text.at(i).unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default: out += text.at(i);
        }
    }
    return out;
}

QString htmlData(const QString &text) { return htmlEscape(blankControls(text)); }

HtmlWriter::HtmlWriter() = default;

HtmlWriter::~HtmlWriter() = default;  // an uncommitted writer removes its temporary file

bool HtmlWriter::HTML_OpenFile(const QString &path) {
    try {
        if (path.isEmpty() || isOpenSeriesFile(path)) return false;
        // Asked whether to replace it, the user could only be told afterwards that it cannot be.
        if (const QString reason = writeProtectionReason(path); !reason.isEmpty()) {
            ui().message(reason, MsgButtons::Ok, MsgIcon::Critical);
            return false;
        }
        if (pathPresent(path)) {
            const QFileInfo info(path);
            const QDateTime changed = info.lastModified();
            const QString text = QStringLiteral("Es gibt schon ein HTML File !!!\rSoll das File überschrieben werden?"
                                                "\r\rErstellungsdatum: ") +
                                 (changed.isValid() ? formatDateTime(changed) : QString());
            if (ui().message(text, MsgButtons::YesNo, MsgIcon::Critical) != MsgAnswer::Yes) return false;
        }
        auto file = std::make_unique<SafeFileWriter>(path);
        if (!file->open()) return false;
        file_ = std::move(file);
        path_ = path;
        buffer_.clear();
        return true;
    } catch (...) {
        return false;
    }
}

void HtmlWriter::append(const QString &text) {
    // Letters typed with combining marks become the one CP1252 character they stand for.
    bool combining = false;
    for (QChar c : text)
        if (c.unicode() >= 0x0300) {
            combining = true;
            break;
        }
    buffer_ += encodeCp1252(combining ? text.normalized(QString::NormalizationForm_C) : text, Unmappable::HtmlEntity);
}

void HtmlWriter::line(const QString &text) {
    append(text);
    buffer_ += "\r\n";
    flush(false);
}

char *HtmlWriter::extend(qsizetype bytes) {
    const qsizetype at = buffer_.size();
    buffer_.resize(at + bytes);
    return buffer_.data() + at;
}

// A line of fixed ASCII mark-up around one text: the rows of a page are mostly these,
// and most of their texts are plain ASCII, written as they stand in one step.
void HtmlWriter::line(const char *before, const QString &text, const char *after) {
    if (!printableAscii(text)) {
        buffer_ += before;
        append(text);
        buffer_ += after;
        buffer_ += "\r\n";
        flush(false);
        return;
    }
    const qsizetype head = qstrlen(before), tail = qstrlen(after);
    char *out = extend(head + text.size() + tail + 2);
    out = std::copy_n(before, head, out);
    for (QChar c : text) *out++ = char(c.unicode());
    out = std::copy_n(after, tail, out);
    out[0] = '\r';
    out[1] = '\n';
    flush(false);
}

void HtmlWriter::lineAscii(const char *text) {
    const qsizetype size = qstrlen(text);
    char *out = std::copy_n(text, size, extend(size + 2));
    out[0] = '\r';
    out[1] = '\n';
    flush(false);
}

void HtmlWriter::flush(bool force) {
    if (!file_) raiseWriteError();
    if (buffer_.isEmpty() || (!force && buffer_.size() < kFlushSize)) return;
    if (!file_->write(buffer_)) raiseWriteError();
    buffer_.clear();
}

void HtmlWriter::raiseWriteError() {
    const QString reason = file_ ? file_->errorString() : QStringLiteral("keine Seite geöffnet");
    throw AppError(57, QStringLiteral("modHtml"),
                   QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden: %2")
                       .arg(QDir::toNativeSeparators(path_), reason));
}

void HtmlWriter::HTML_WriteHead(const QString &title) {
    lineAscii("<HTML>");
    line(QStringLiteral("<BODY bgcolor=#") + HTML_GetColor(QStringLiteral("Dokument")) + QStringLiteral(" text=#") +
         HTML_GetColor(QStringLiteral("Text")) + u'>');
    line(QStringLiteral("<TITLE>") + htmlData(title) + QStringLiteral("</TITLE>"));
}

void HtmlWriter::block(const char *anchorLine, const QStringList &texts) {
    const auto text = [&](int i) { return i < texts.size() ? texts[i] : QString(); };
    lineAscii(anchorLine);
    lineAscii("<CENTER><TABLE border=0 cellpadding=3 width=\"90%\">");
    lineAscii("<TR>");
    line(QStringLiteral("<TD ALIGN=left width=\"33%\"><H3>") + text(0) + QStringLiteral("</H3></TD>"));
    line(QStringLiteral("<TD ALIGN=center width=\"33%\"><H3>") + text(1) + QStringLiteral("</H3></TD>"));
    line(QStringLiteral("<TD ALIGN=right width=\"33%\"><H3>") + text(2) + QStringLiteral("</H3></TD>"));
    lineAscii("</TR>");
    lineAscii("</TABLE></CENTER>");
    lineAscii("<BR>");
}

void HtmlWriter::HTML_WriteHeader(const QStringList &texts) { block("<A Name=\"Anfang\"></A>", texts); }

void HtmlWriter::HTML_WriteFooter(const QStringList &texts) { block("<A Name=\"Ende\"></A>", texts); }

void HtmlWriter::HTML_BeginTable(const QStringList &headerCells, const QString &anchor, const QString &caption) {
    line(QStringLiteral("<A Name=") + htmlData(anchor) + QStringLiteral("></A>"));
    line(QStringLiteral("<CENTER><TABLE border=1 cellpadding=3 width=\"90%\" bgcolor = #") +
         HTML_GetColor(QStringLiteral("Tabelle")) + u'>');
    line("<CAPTION><H2>", htmlData(caption), "</H2></CAPTION>");
    lineAscii("<TR>");
    // An empty list is still one (empty) header cell.
    const QStringList cells = headerCells.isEmpty() ? QStringList{QString()} : headerCells;
    for (const QString &cell : cells) {
        const QByteArray open = "<TH bgcolor=#" + HTML_GetColor(QStringLiteral("Tabellenheader")).toLatin1() + "><I>";
        line(open.constData(), htmlData(cell), "</I></TH>");
    }
    lineAscii("</TR>");
}

void HtmlWriter::HTML_WriteRow(const QStringList &cells) {
    lineAscii("<TR>");
    const QStringList list = cells.isEmpty() ? QStringList{QString()} : cells;
    for (const QString &cell : list) {
        const QString shown = blankControls(cell);
        if (isBlank(shown)) lineAscii("<TD>-</TD>");
        else line("<TD>", htmlEscape(shown), "</TD>");
    }
    lineAscii("</TR>");
}

void HtmlWriter::HTML_EndTable() {
    lineAscii("</TABLE>");
    lineAscii("</CENTER>");
    lineAscii("<CENTER><TABLE border=0 cellpadding=3 width=\"90%\">");
    lineAscii("<TR>");
    lineAscii("<TD ALIGN=\"CENTER\">");
    lineAscii("<UL>");
    lineAscii("<A HREF=\"#Anfang\">zur\xFC" "ck zum Anfang</A>");
    lineAscii("</UL>");
    lineAscii("</TD>");
    lineAscii("</TR>");
    lineAscii("</TABLE></CENTER>");
    lineAscii("<BR>");
}

void HtmlWriter::HTML_WriteTail() {
    lineAscii("</BODY>");
    lineAscii("</HTML>");
}

void HtmlWriter::HTML_CloseFile() {
    flush(true);
    if (!file_) raiseWriteError();
    if (!file_->commit()) raiseWriteError();
    file_.reset();
}

}  // namespace tarnis
