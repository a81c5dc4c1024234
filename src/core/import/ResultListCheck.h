#pragma once
// What a result list must be before the import writes anything of it: DOS text
// (CP850) that holds at least one result line.
#include "core/import/ConversionShifts.h"
#include "core/import/ListCodePage.h"

#include <QIODevice>
#include <QList>
#include <QString>

namespace tarnis {

enum class ResultListProblem {
    None,
    // Valid UTF-8 with multi-byte characters: read as CP850, each umlaut would take
    // two characters and shift the fixed columns of its line.
    Utf8,
    Utf8WithMark,  // the same, opened by the mark EF BB BF, which CP850 lacks
    // UTF-16 ("Unicode" of Windows editors): a byte-order mark, or NUL bytes on every
    // other position, which the import would read as control characters.
    Utf16,
    Utf16LittleEndian,  // NUL bytes after the characters, no mark
    Utf16BigEndian,     // NUL bytes before the characters, no mark
    // Not one line is a result line (a CSV file, a letter, a file of fewer than four
    // bytes): nothing would be imported.
    NoResultLine,
    // One byte in twenty of its start is a control character that no text holds: the
    // file is no text at all (random bytes, a program) or is damaged (a zeroed stretch).
    NotText,
    // Names, clubs or age classes that CP850 shows with line-drawing, block or mathematical
    // signs: the list is in code page 1252 as a whole, which a command converts ...
    Cp1252,
    // ... or lines of it are in another code page than the rest (UTF-8 in a DOS list).
    OtherCodePage,
};

// Reads the file at most once, up to the list's end. A file that cannot be read to its
// end is left to the import, which names the line it stops at.
ResultListProblem CheckResultList(QIODevice &file);

// Where the suggested command cuts a list refused as UTF-8, UTF-16 or code page 1252:
// before the NULs that run to the file's end, on a whole unit, so that none of them
// reaches the converted list; -1 where it converts the whole file. Leaves the file's
// position anywhere.
qint64 ConversionTextEnd(QIODevice &file, ResultListProblem problem);

// The German message for a problem of the list at `path`, naming the lines that the
// suggested conversion would shift and those in another code page.
QString ResultListMessage(ResultListProblem problem, const QString &path, const ConversionShifts &shifts = {},
                          qint64 textEnd = -1, const ListCodePage &codePage = {});

}  // namespace tarnis
