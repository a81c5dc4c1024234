#include "core/import/ResultLine.h"

#include "platform/text/TextRules.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarnis {

namespace {

void invalidColumn() {
    throw AppError(err::InvalidProcedureCall, kRuntimeSource,
                   QStringLiteral("Ungültiger Prozeduraufruf oder ungültiges Argument"));
}

// Mid(s, start, length) counted from 1, as the column layout is written.
ResultLineColumn column(int start, int length) {
    if (start < 1 || length < 0) invalidColumn();
    return {start, length};
}

}  // namespace

bool isAgeClassHeading(const QString &line) {
    return line.contains(QLatin1String("- ")) && line.contains(QLatin1String("m "));
}

QString headingAgeClass(const QString &line) {
    const qsizetype dash = line.indexOf(QLatin1Char('-'));
    return textrules::Trim(dash < 0 ? line : line.left(dash));
}

bool isResultLine(const QString &line) {
    return line.indexOf(QLatin1Char('.')) >= 1 && line.contains(QLatin1Char(','))
           && line.contains(QLatin1Char(':'));
}

ResultLineColumns resultLineColumns(const QString &line) {
    const int d = int(line.indexOf(QLatin1Char('.'))) + 1;
    const int c = int(line.indexOf(QLatin1Char(','))) + 1;
    const int k = int(line.indexOf(QLatin1Char(':'))) + 1;
    if (d < 1) invalidColumn();
    ResultLineColumns columns;
    columns.placeLength = d - 1;
    columns.vorname = column(d + 2, c - d - 2);
    columns.zuname = column(c + 2, d + 28 - c);
    columns.yearField = column(d + 30, 2);
    columns.verein = column(d + 33, 25);
    columns.zeit = column(k - 3, k + 3);
    return columns;
}

QString columnText(const QString &line, const ResultLineColumn &column) {
    return textrules::Trim(textrules::Mid(line, column.start, column.length));
}

ResultLineFields parseResultLine(const QString &line) {
    ResultLineFields f;
    // The place is read before the columns, so that a bad place is the error reported.
    const QString placeText = textrules::Left(line, int(line.indexOf(QLatin1Char('.'))));
    const double place = textrules::Val(placeText);
    if (place != std::floor(place))  // the text may be long: the message names its start
        throw AppError(err::TypeMismatch, kRuntimeSource,
                       QStringLiteral("Typen unverträglich: der Platz \"%1\" ist keine ganze Zahl")
                           .arg(textrules::Left(placeText, 20)));
    f.place = textrules::CLng(place);
    const ResultLineColumns columns = resultLineColumns(line);
    f.vorname = columnText(line, columns.vorname);
    f.zuname = columnText(line, columns.zuname);
    f.yearField = columnText(line, columns.yearField);
    f.verein = columnText(line, columns.verein);
    f.zeit = columnText(line, columns.zeit);
    return f;
}

std::int32_t joinYear(const QString &century, const QString &yearField) {
    const QString text = century + yearField;
    bool ok = !text.isEmpty();
    for (QChar ch : text)
        ok = ok && ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
    const qlonglong year = ok ? text.toLongLong(&ok) : 0;
    if (!ok || year > std::numeric_limits<std::int32_t>::max())
        throw AppError(err::TypeMismatch, kRuntimeSource,
                       QStringLiteral("Typen unverträglich: Jahrgang \"%1\"").arg(text));
    return std::int32_t(year);
}

namespace {

// Steps back from `end`, not below `from`, over a run of bytes that `skip` takes: where the
// run begins, with the byte before it in `before` (NUL when none), and the first DOS end
// mark (0x1A) in it in `firstMark` (-1 when none); -1 when a read fails.
template <typename Skip>
qint64 backOver(QIODevice &file, qint64 from, qint64 end, Skip skip, char &before, qint64 &firstMark) {
    char chunk[4096];
    before = '\0';
    firstMark = -1;
    while (end > from) {
        const qint64 start = std::max(from, end - qint64(sizeof chunk));
        if (!file.seek(start) || file.read(chunk, end - start) != end - start) return -1;
        qint64 kept = end - start;
        for (; kept > 0 && skip(chunk[kept - 1]); --kept)
            if (chunk[kept - 1] == 0x1a) firstMark = start + kept - 1;
        end = start + kept;
        if (kept > 0) {
            before = chunk[kept - 1];
            break;
        }
    }
    return end;
}

}  // namespace

ListBounds listBounds(QIODevice &file) {
    if (file.isSequential()) return {};
    const qint64 here = file.pos();
    const qint64 size = file.size();
    char last = '\0';
    qint64 mark = -1;
    const qint64 nuls = backOver(file, here, size, [](char c) { return c == '\0'; }, last, mark);
    // End marks close the list wherever they stand, also right after its last character, as
    // COPY CON writes them, and also when line ends follow them: the list ends at the first
    // mark after which nothing but marks, line ends and NULs come.
    char beforeTail = '\0';
    const qint64 tail = nuls < 0 ? -1
                                 : backOver(file, here, nuls,
                                            [](char c) { return c == 0x1a || c == '\r' || c == '\n' || c == '\0'; },
                                            beforeTail, mark);
    file.seek(here);
    // A failed read leaves the whole file to the reader, which reports it.
    if (tail < 0) return {size, size};
    if (mark >= 0) return {nuls, mark};
    // Padding alone follows a line end: NULs from inside a line on, or in place of the whole
    // file, are damage that stays, and the check or the import reports it.
    return {nuls, last == '\r' || last == '\n' ? nuls : size};
}

bool LineReader::fill() {
    if (eof_) return false;
    if (pos_ > 0) {
        buffer_.remove(0, pos_);
        pos_ = 0;
    }
    char chunk[65536];
    const qint64 wanted = end_ < 0 ? qint64(sizeof chunk) : std::min(qint64(sizeof chunk), end_ - file_.pos());
    const qint64 got = wanted > 0 ? file_.read(chunk, wanted) : 0;
    if (got < 0)
        throw AppError(57, kRuntimeSource,
                       QStringLiteral("Fehler beim Lesen der Datei: %1").arg(file_.errorString()));
    if (got == 0) {
        eof_ = true;
        return false;
    }
    buffer_.append(chunk, got);
    return true;
}

void LineReader::lineTooLong() {
    tooLongStart_ = buffer_.mid(pos_, 256);
    throw AppError(err::Overflow, kRuntimeSource,
                   QStringLiteral("Überlauf: die Zeile ist länger als %1 Zeichen").arg(kMaxLineBytes));
}

bool LineReader::next(QByteArray &line) {
    qsizetype scanFrom = pos_;
    for (;;) {
        for (qsizetype i = scanFrom; i < buffer_.size(); ++i) {
            const char ch = buffer_[i];
            if (ch != '\r' && ch != '\n') continue;
            if (i - pos_ > kMaxLineBytes) lineTooLong();
            // A CR at the end of the buffer may be followed by its LF in the next chunk.
            if (ch == '\r' && i + 1 == buffer_.size() && !eof_) {
                const qsizetype offset = i - pos_;
                fill();  // moves the unread rest to the front of the buffer
                i = pos_ + offset;
            }
            line = buffer_.mid(pos_, i - pos_);
            qsizetype end = i + 1;
            if (ch == '\r' && end < buffer_.size() && buffer_[end] == '\n') ++end;
            pos_ = end;
            return true;
        }
        const qsizetype scanned = buffer_.size() - pos_;
        if (scanned > kMaxLineBytes) lineTooLong();
        if (!fill()) break;
        scanFrom = pos_ + scanned;
    }
    if (pos_ >= buffer_.size()) return false;
    line = buffer_.mid(pos_);
    pos_ = buffer_.size();
    return true;
}

}  // namespace tarnis
