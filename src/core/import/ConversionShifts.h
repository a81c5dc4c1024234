#pragma once
// The lines of a result list refused as UTF-8 or UTF-16 that the suggested conversion to
// CP850 would store wrong: each line as the organiser reads it (one column a character,
// a character outside ASCII text) against the converted line as the import reads it.
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

namespace tarnis {

enum class ResultListProblem;

// A character to mend: where it stands, as the line shows it, and as the message shows it.
struct NamedCharacter {
    qsizetype column = 0;  // counted from 1, one column a character, as the line shows
    QString field;         // the field it stands in ("Verein"); empty outside every field
    QString character;     // "œ", "U+0301 (Akzent)"
};

// A line that the conversion would store other than the organiser reads it, with the
// characters to mend, and the characters of its stored fields written as "?", each once.
struct ShiftedLine {
    qint64 number = 0;  // counted from 1, as an editor counts
    // Every character the line needs replaced by one so that the conversion stores it as it
    // reads: one written as several or as none, or as a separator where it is text.
    QList<NamedCharacter> shifting;
    // Letters that CP850 lacks, written as "?", in a field the import stores.
    QStringList lost;
    // Other characters written as "?" there ("★", a fullwidth "？").
    QStringList lostSigns;
};

// Where the conversion stops, at a character that it cannot read (a broken UTF-16 unit,
// a last byte without its pair) or cannot write: the lines from there on are lost.
struct ConversionStop {
    qint64 number = 0;  // 0 for none
    QString character;  // empty when the stop shows no character
};

struct ConversionShifts {
    QList<ShiftedLine> lines;  // every such line, in list order
    ConversionStop stop;
};

// Reads a list refused as UTF-8 or UTF-16 from its start to the end of its text and finds
// every line that the suggested command would store wrong or stop at; nothing for any
// other problem. `textEnd` is where the command cuts the file (-1: its end).
ConversionShifts FindConversionShifts(QIODevice &file, ResultListProblem problem, qint64 textEnd = -1);

// How many lines of one kind a message's text names; its details name them all.
constexpr int kShownLines = 5;
// The lines named, joined, and how many more there are of `count` ("und 2 weitere Zeilen").
QString firstLinesText(const QStringList &shown, qint64 count, const QString &separator);

// What the message says of the lines found: the first few of each kind with their
// characters and the advice that fits them; empty when none was found.
QString conversionShiftsText(const ConversionShifts &shifts);
// Every line found, one a line, for the message's details; empty when the text above
// names them all.
QString conversionShiftsDetails(const ConversionShifts &shifts);

}  // namespace tarnis
