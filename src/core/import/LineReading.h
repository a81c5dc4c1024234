#pragma once
// A line of a list refused as UTF-8 or UTF-16 read twice: as the organiser reads it, one
// column a character, where a character outside ASCII is text and never one of the
// import's separators; and as the import reads the line that the suggested conversion
// writes. Each field of the first is converted on its own, so that the two compare.
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace tarnis {

// A line's characters, one column each, and what the conversion writes for each.
struct LineCharacters {
    QList<char32_t> codes;
    QStringList written;
};

// What the import takes from a line: a heading's class, a result line's fields.
struct LineReading {
    bool heading = false;
    bool result = false;
    bool fits = true;  // a result line's columns leave room for each field; else it stops the import
    QString ageClass;
    QStringList fields;  // place, the names before and after the comma, year, club, time
    bool operator==(const LineReading &) const = default;
};

// The line as the organiser reads it, and where each of its fields stands.
class ShownLine {
public:
    explicit ShownLine(const LineCharacters &line);

    const LineReading &reading() const { return reading_; }
    // Whether the character at `index` (in the untrimmed line) is a look-alike that stands in
    // for a separator the line lacks, in that separator's own place: it reads as the separator.
    bool standsIn(qsizetype index) const { return standIns_.contains(index); }
    // The field the character at `index` stands in, as the lists name it ("Name", "Verein",
    // "Altersklasse"); empty outside every field.
    QString fieldAt(qsizetype index) const;
    // Whether the import stores the character at `index`: in a heading's class or a result
    // line's field.
    bool stored(qsizetype index) const { return !fieldAt(index).isEmpty(); }

private:
    void placeStandIns(const LineCharacters &line, QString &text);

    LineReading reading_;
    qsizetype from_ = 0;  // where the line starts once trimmed
    QList<qsizetype> standIns_;
    qsizetype classEnd_ = 0;
    QList<std::pair<qsizetype, qsizetype>> fieldSpans_;  // [start, end) in the trimmed line, in field order
};

// The converted line as the import reads it (already trimmed).
LineReading convertedReading(const QString &line);

}  // namespace tarnis
