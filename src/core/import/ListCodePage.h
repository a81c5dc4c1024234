#pragma once
// A list in another code page than DOS whose bytes alone do not show it: code page 1252
// ("ANSI" of Windows) has its umlauts where CP850 has line-drawing and block signs, and a
// line typed in UTF-8 into a DOS list reads the same way. No name, club or age class holds
// such a sign, so a list whose fields show one is refused, with the code page its lines
// seem to be in.
#include "core/import/ConversionShifts.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

namespace tarnis {

enum class ResultListProblem;

// A character that CP850 shows as a line-drawing, block or mathematical sign, as the bytes
// of "ö" "ü" "ß" "Ä" "Ü" of code page 1252 ("÷" "³" "▀" "─" "▄") and the first byte of a
// UTF-8 umlaut ("├") show. CP850's letters, "ä" of code page 1252 ("õ") among them, are none.
bool isCp850Sign(QChar c);

// Whether a line's bytes read as text of code page 1252: every character outside ASCII a
// letter, or a sign where text puts it (a quotation mark at a word's edge, an apostrophe
// after a letter, a dash or "€" apart from letters). A DOS umlaut mostly reads as neither
// ("ü" is no character there, "ö" a quotation mark inside a word).
bool readsAsCp1252(const QByteArray &bytes);

enum class LineCodePage { Utf8, Cp1252, Unknown };

// A line whose names, club or age class show such signs, with those fields as the import
// would store them.
struct SignLine {
    qint64 number = 0;  // counted from 1, as an editor counts
    QStringList fields;
    LineCodePage codePage = LineCodePage::Unknown;
};

struct ListCodePage {
    QList<SignLine> lines;  // every such line, in list order
    // The first few lines outside ASCII that read as DOS text and not as code page 1252,
    // and how many there are.
    QList<qint64> dosLines;
    qint64 dosLineCount = 0;
    // The whole list reads as code page 1252: no line is UTF-8, and every line and every
    // sign in a field reads as that code page's text.
    bool cp1252 = false;
};

// Takes the lines of a list in order: its bytes and its trimmed CP850 reading.
class ListCodePageScan {
public:
    void add(const QByteArray &bytes, const QString &line);
    bool found() const { return !result_.lines.isEmpty(); }
    ListCodePage result() const;

private:
    struct Heading {
        qint64 number = 0;
        QString signClass;  // the class, when it shows a sign
        LineCodePage codePage = LineCodePage::Unknown;
    };
    Heading heading_;
    ListCodePage result_;
    qint64 number_ = 0;
    bool notCp1252_ = false;
};

// Reads a list refused for its signs from its start to its end; nothing for any other
// problem.
ListCodePage FindListCodePage(QIODevice &file, ResultListProblem problem);

// The lines that the command converting a list in code page 1252 would store wrong, as for
// a UTF-8 list; `textEnd` is where the command cuts the file (-1: its end).
ConversionShifts FindCp1252Shifts(QIODevice &file, qint64 textEnd);

// What the message says of the lines found: the first few of each code page, with their
// fields; empty when none was found.
QString listCodePageText(const ListCodePage &codePage);
// Every line found, one a line, for the message's details; empty when the text above
// names them all.
QString listCodePageDetails(const ListCodePage &codePage);

}  // namespace tarnis
