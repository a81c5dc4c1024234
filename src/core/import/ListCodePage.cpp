#include "core/import/ListCodePage.h"

#include "core/import/ResultLine.h"
#include "core/import/ResultListCheck.h"
#include "platform/text/CodePage.h"
#include "platform/text/TextRules.h"

#include <QBuffer>
#include <algorithm>

namespace tarnis {

namespace {

// A letter of a word; a modifier letter such as "ˆ" is a sign in code page 1252.
bool isWordLetter(QChar c) { return c.isLetter() && c.category() != QChar::Letter_Modifier; }

// What the byte that CP850 shows as `shown` reads as in code page 1252.
QChar asCp1252(QChar shown) { return decodeCp1252(encodeCp850(QString(shown))).front(); }

bool holdsSign(const QString &text) { return std::any_of(text.begin(), text.end(), isCp850Sign); }

// Whether the byte at `at` is part of a well-formed UTF-8 character of several bytes.
bool inUtf8Character(const QByteArray &bytes, qsizetype at) {
    for (qsizetype lead = at; lead >= 0 && lead > at - 4; --lead) {
        const auto byte = static_cast<unsigned char>(bytes[lead]);
        if (byte < 0xC2 || byte > 0xF4) continue;  // no lead byte
        const qsizetype length = byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        if (lead + length > at && lead + length <= bytes.size()
            && isUtf8(QByteArray::fromRawData(bytes.constData() + lead, length)))
            return true;
    }
    return false;
}

// Where the signs in the fields of a line seem to come from, each on its own: the bytes of
// a UTF-8 character, or a letter of code page 1252.
class SignOrigins {
public:
    // `line` is the trimmed CP850 reading of `bytes`, one character a byte; in a line that
    // is UTF-8 as a whole every sign is part of a UTF-8 character.
    SignOrigins(const QByteArray &bytes, const QString &line, bool utf8Line) : line_(line), utf8Line_(utf8Line) {
        qsizetype blanks = 0;
        while (blanks < bytes.size() && bytes[blanks] == ' ') ++blanks;
        bytes_ = bytes.mid(blanks, line.size());
    }
    // Takes the signs in the columns [from, to) of the line.
    void take(qsizetype from, qsizetype to) {
        for (qsizetype i = std::max<qsizetype>(from, 0); i < std::min(to, line_.size()); ++i) {
            if (!isCp850Sign(line_[i])) continue;
            utf8_ = utf8_ && (utf8Line_ || inUtf8Character(bytes_, i));
            cp1252_ = cp1252_ && isWordLetter(asCp1252(line_[i]));
        }
    }
    LineCodePage codePage() const {
        return utf8_ ? LineCodePage::Utf8 : cp1252_ ? LineCodePage::Cp1252 : LineCodePage::Unknown;
    }

private:
    const QString &line_;
    const bool utf8Line_;
    QByteArray bytes_;
    bool utf8_ = true, cp1252_ = true;
};

QString quoted(const QStringList &fields) {
    QStringList out;
    for (const QString &field : fields) out << QLatin1Char('"') + field + QLatin1Char('"');
    return out.join(QStringLiteral(", "));
}

QString signLineText(const SignLine &line) {
    return QStringLiteral("Zeile %1 (%2)").arg(QString::number(line.number), quoted(line.fields));
}

QString signLinesText(const QList<SignLine> &lines) {
    QStringList shown;
    for (const SignLine &line : lines.first(std::min<qsizetype>(lines.size(), kShownLines)))
        shown << signLineText(line);
    return firstLinesText(shown, lines.size(), QStringLiteral(", "));
}

QList<SignLine> linesIn(const ListCodePage &codePage, LineCodePage which) {
    QList<SignLine> lines;
    for (const SignLine &line : codePage.lines)
        if (line.codePage == which) lines << line;
    return lines;
}

QString codePageName(LineCodePage codePage) {
    switch (codePage) {
    case LineCodePage::Utf8: return QStringLiteral("in UTF-8");
    case LineCodePage::Cp1252: return QStringLiteral("in der Windows-Codepage 1252 (ANSI)");
    case LineCodePage::Unknown: break;
    }
    return QStringLiteral("in keiner erkennbaren Codepage");
}

bool allShown(const ListCodePage &codePage) {
    for (const LineCodePage which : {LineCodePage::Utf8, LineCodePage::Cp1252, LineCodePage::Unknown})
        if (linesIn(codePage, which).size() > kShownLines) return false;
    return true;
}

}  // namespace

bool isCp850Sign(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80) return false;  // "+" "<" "|" are text
    // box drawing, blocks and "■", the broken bar and the double low line
    if ((u >= 0x2500 && u <= 0x25FF) || u == 0x00A6 || u == 0x2017) return true;
    // "±" "×" "÷" "¬", the superscript digits and the fractions
    return c.category() == QChar::Symbol_Math || c.category() == QChar::Number_Other;
}

bool readsAsCp1252(const QByteArray &bytes) {
    const QString text = decodeCp1252(bytes);
    const auto at = [&text](qsizetype i) { return i >= 0 && i < text.size() ? text[i] : QChar(u' '); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80 || isWordLetter(c)) continue;
        const QChar before = at(i - 1), after = at(i + 1);
        const bool opensWord = !before.isLetterOrNumber(), endsWord = !after.isLetterOrNumber();
        switch (c.unicode()) {
        case u'„': case u'‚': case u'¡': case u'¿':  // open a word
            if (opensWord) continue;
            break;
        case u'“': case u'‘': case u'«': case u'»': case u'‹': case u'›':  // open or close one
            if (opensWord || endsWord) continue;
            break;
        case u'”': case u'…':  // close one
            if (endsWord) continue;
            break;
        case u'’':  // also an apostrophe after a letter
            if (endsWord || isWordLetter(before)) continue;
            break;
        case u'–': case u'—': case u'•': case u'€': case u'§': case u'°': case u'²': case u'³': case u'¹':
        case u'½': case u'¼': case u'¾': case u'±': case u'×': case u'©': case u'®': case u'™': case 0x00A0:
            if (!isWordLetter(before) && !isWordLetter(after)) continue;
            break;
        default: break;
        }
        return false;
    }
    return true;
}

void ListCodePageScan::add(const QByteArray &bytes, const QString &line) {
    ++number_;
    const bool ascii = isAscii(bytes);
    const bool utf8 = !ascii && isUtf8(bytes);
    const bool cp1252 = !ascii && !utf8 && readsAsCp1252(bytes);
    if (!ascii && !cp1252) notCp1252_ = true;
    if (!ascii && !utf8 && !cp1252 && !holdsSign(line)) {
        if (result_.dosLines.size() < kShownLines) result_.dosLines << number_;
        ++result_.dosLineCount;
    }
    if (!holdsSign(line)) {
        // none in a field either; a result line may take the class of a heading with one
        if (isAgeClassHeading(line)) heading_ = Heading{};
        if (heading_.signClass.isEmpty() || !isResultLine(line)) return;
    }
    SignOrigins origins(bytes, line, utf8);
    if (isAgeClassHeading(line)) {
        const QString ageClass = headingAgeClass(line);
        heading_ = Heading{};
        if (holdsSign(ageClass)) {
            origins.take(0, line.indexOf(QLatin1Char('-')) < 0 ? line.size() : line.indexOf(QLatin1Char('-')));
            heading_ = Heading{number_, ageClass, origins.codePage()};
        }
    }
    if (!isResultLine(line)) return;
    // A class is stored with the result lines under its heading: the heading is named once,
    // at the first of them.
    SignLine named{number_, {}, LineCodePage::Unknown};
    if (!heading_.signClass.isEmpty()) {
        if (heading_.number == number_) named.fields << heading_.signClass;
        else result_.lines << SignLine{heading_.number, {heading_.signClass}, heading_.codePage};
        heading_ = Heading{};
    }
    try {
        if (holdsSign(line)) {
            parseResultLine(line);  // a place that is no number stops the import at the line too
            const ResultLineColumns columns = resultLineColumns(line);
            for (const ResultLineColumn &column : {columns.vorname, columns.zuname, columns.verein}) {
                const QString field = columnText(line, column);
                if (!holdsSign(field)) continue;
                named.fields << field;
                origins.take(column.start - 1, column.start - 1 + column.length);
            }
        }
    } catch (const AppError &) {
        // a line whose place or columns do not fit stops the import at it, with nothing stored
    }
    if (named.fields.isEmpty()) return;
    named.codePage = origins.codePage();
    result_.lines << named;
}

ListCodePage ListCodePageScan::result() const {
    ListCodePage result = result_;
    result.cp1252 = found() && !notCp1252_
                    && std::all_of(result.lines.begin(), result.lines.end(),
                                   [](const SignLine &line) { return line.codePage == LineCodePage::Cp1252; });
    return result;
}

ListCodePage FindListCodePage(QIODevice &file, ResultListProblem problem) {
    if (problem != ResultListProblem::Cp1252 && problem != ResultListProblem::OtherCodePage) return {};
    if (!file.seek(0)) return {};
    ListCodePageScan scan;
    try {
        LineReader reader(file);
        for (QByteArray bytes; reader.next(bytes);) scan.add(bytes, textrules::Trim(decodeCp850(bytes)));
    } catch (const AppError &) {
        // a line too long or a failed read stops the import there
    }
    return scan.result();
}

ConversionShifts FindCp1252Shifts(QIODevice &file, qint64 textEnd) {
    if (!file.seek(0)) return {};
    // The list as UTF-8, line by line, as the command would read it: the same characters,
    // converted the same way.
    QByteArray utf8;
    try {
        const qint64 end = listEnd(file);
        LineReader reader(file, textEnd < 0 || end < 0 ? end : std::min(end, textEnd));
        for (QByteArray bytes; reader.next(bytes);) utf8 += decodeCp1252(bytes).toUtf8() + '\n';
    } catch (const AppError &) {
        // the import of the converted list stops at the same line
    }
    QBuffer buffer(&utf8);
    buffer.open(QIODevice::ReadOnly);
    return FindConversionShifts(buffer, ResultListProblem::Utf8);
}

QString listCodePageText(const ListCodePage &codePage) {
    if (codePage.lines.isEmpty()) return QString();
    QString text;
    if (codePage.cp1252) {
        text = QStringLiteral("Der DOS-Zeichensatz zeigt ihre Umlaute als Rahmen-, Block- oder Rechenzeichen, "
                              "in %1: %2.\n")
                   .arg(codePage.lines.size() == 1 ? QStringLiteral("dieser Zeile") : QStringLiteral("diesen Zeilen"),
                        signLinesText(codePage.lines));
    } else {
        text = QStringLiteral("Der DOS-Zeichensatz zeigt Namen, Vereine oder Altersklassen mit Rahmen-, Block- oder "
                              "Rechenzeichen, wie sie kein Name enthält, in Zeilen, die so geschrieben scheinen:\n");
        for (const LineCodePage which : {LineCodePage::Utf8, LineCodePage::Cp1252, LineCodePage::Unknown})
            if (const QList<SignLine> lines = linesIn(codePage, which); !lines.isEmpty())
                text += QStringLiteral("- %1: %2\n").arg(codePageName(which), signLinesText(lines));
        if (codePage.dosLineCount > 0) {
            QStringList shown;
            for (const qint64 number : codePage.dosLines) shown << QStringLiteral("Zeile %1").arg(number);
            text += QStringLiteral("Im DOS-Zeichensatz geschrieben scheinen dagegen: %1.\n")
                        .arg(firstLinesText(shown, codePage.dosLineCount, QStringLiteral(", ")));
        }
    }
    if (!allShown(codePage)) text += QStringLiteral("Alle diese Zeilen stehen unter \"Details einblenden...\".\n");
    return text;
}

QString listCodePageDetails(const ListCodePage &codePage) {
    if (allShown(codePage)) return QString();
    QString details = QStringLiteral("Zeilen, deren Namen, Vereine oder Altersklassen der DOS-Zeichensatz mit Rahmen-, "
                                     "Block- oder Rechenzeichen zeigt:");
    // the code page of each line where they differ
    for (const SignLine &line : codePage.lines)
        details += QStringLiteral("\nZeile %1%2: %3")
                       .arg(QString::number(line.number),
                            codePage.cp1252 ? QString() : QLatin1Char(' ') + codePageName(line.codePage),
                            quoted(line.fields));
    return details;
}

}  // namespace tarnis
