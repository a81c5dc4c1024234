#pragma once
// The lines of a race's result list: age-class headings and result lines with
// their fixed columns, and a reader that splits the file into lines.
#include "platform/errors/AppError.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstdint>

namespace tarnis {

// A heading holds "- " and a lower-case "m " ("M40 - 10 km Lauf").
bool isAgeClassHeading(const QString &line);
// The class of a heading: the text before its first "-", trimmed.
QString headingAgeClass(const QString &line);
// A result line has its first "." at position 2 or later and holds a "," and a ":".
bool isResultLine(const QString &line);

// Where the import takes each field of a result line from (already trimmed): Mid's start
// (from 1) and length, before the field's blanks are trimmed.
struct ResultLineColumn {
    int start = 1;
    int length = 0;
};
struct ResultLineColumns {
    int placeLength = 0;  // the place is the text before the first "."
    ResultLineColumn vorname, zuname, yearField, verein, zeit;
};

// The columns of a result line; a comma or colon that leaves no room for its column
// raises 5.
ResultLineColumns resultLineColumns(const QString &line);
// A column's text: Mid, then trimmed.
QString columnText(const QString &line, const ResultLineColumn &column);

struct ResultLineFields {
    std::int32_t place = 0;
    QString vorname;   // before the comma
    QString zuname;    // after the comma
    QString yearField; // the two year characters, trimmed
    QString verein;
    QString zeit;
};

// Takes the columns of a result line (already trimmed). A comma or colon that
// leaves no room for its column raises 5; a place beyond 32 bits raises 6, one that
// is not a whole number ("1e-3") 13.
ResultLineFields parseResultLine(const QString &line);

// The century text and the two year digits as the stored year; text that is not
// a whole number after joining raises 13.
std::int32_t joinYear(const QString &century, const QString &yearField);

// Where the bytes of a file and the list in it end, from its present position on; -1
// for both on a device whose end cannot be known (a pipe). Leaves the position.
struct ListBounds {
    // Before the run of NUL bytes that reaches the end of the file, wherever it begins.
    qint64 beforeNuls = -1;
    // Before the DOS end-of-file marks (0x1A) that nothing but marks, line ends and NULs
    // follow, whatever comes before the marks; else before the NULs (the padding of a
    // program that writes whole blocks) when a line end comes before them; else the end.
    qint64 list = -1;
};
ListBounds listBounds(QIODevice &file);
inline qint64 listEnd(QIODevice &file) { return listBounds(file).list; }

// Reads a file line by line in constant memory, up to the list's end. A line ends at
// CR, CR LF or LF; a last line without an end still counts.
class LineReader {
public:
    // No result line comes near this; a longer line is not read on.
    static constexpr qsizetype kMaxLineBytes = 65536;

    explicit LineReader(QIODevice &file) : LineReader(file, listEnd(file)) {}
    // Up to `end`, as listEnd() gave it for the file's present position.
    LineReader(QIODevice &file, qint64 end) : file_(file), end_(end) {}
    // The next line's bytes without its end; false at the end of the file.
    // A read error raises 57, a line longer than kMaxLineBytes 6.
    bool next(QByteArray &line);
    // After a line was too long: its first bytes, for the message.
    const QByteArray &tooLongStart() const { return tooLongStart_; }

private:
    bool fill();
    [[noreturn]] void lineTooLong();
    QIODevice &file_;
    qint64 end_;
    QByteArray buffer_;
    QByteArray tooLongStart_;
    qsizetype pos_ = 0;
    bool eof_ = false;
};

}  // namespace tarnis
