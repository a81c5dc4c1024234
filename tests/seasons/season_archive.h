#pragma once
// The update archives of the season cases, made at run time: a program file is no
// text to keep in a case, and a bomb of hundreds of MiB no file to keep at all.
#include <QString>

namespace seasons {

// Writes the archive `zipPath` with one entry "Tarnis" as `recipe` says:
//   program       the program built with the runner
//   file <path>   that file (relative to `work`)
//   zeros <MiB>   that many MiB of zero bytes, made as they are packed
//   fake <mode>   the update tests' stand-in program, answering "--version" in that
//                 mode (carried in the file: see tests/helpers/fake_program.cpp)
// followed by "cut <bytes>" for an archive that lacks its last bytes, as a download
// cut short does. False with a reason when the recipe is unknown or the archive cannot
// be written.
bool makeUpdateArchive(const QString &zipPath, const QString &recipe, const QString &work, QString *why);

}  // namespace seasons
