#pragma once
// The lines of a result list refused as UTF-8 or UTF-16 that the suggested conversion to
// CP850 would store wrong: the import's own field rules are run on each line as it shows
// (one column a character) and on the line as the conversion writes it, and the fields
// are compared.
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

namespace tarnis {

enum class ResultListProblem;

// A line whose fields the conversion would store other than the line shows them, with
// the characters to mend, each once, as the message shows them ("œ", U+0301).
struct ShiftedLine {
    qint64 number = 0;  // counted from 1, as an editor counts
    // Characters written as several, as none, or as a "." "," or ":" that takes the place
    // of the line's own: the fields behind them move or take another field's text.
    QStringList shifting;
    // Letters that CP850 lacks, written as "?", in a field the import stores.
    QStringList lost;
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

// What the message says of the lines found: the first few of each kind with their
// characters and the advice that fits them; empty when none was found.
QString conversionShiftsText(const ConversionShifts &shifts);
// Every line found, one a line, for the message's details; empty when the text above
// names them all.
QString conversionShiftsDetails(const ConversionShifts &shifts);

}  // namespace tarnis
