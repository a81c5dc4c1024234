#pragma once
// File work of the season runner: copying a case, writing result files, comparing.
#include <QString>
#include <QStringList>

namespace tarnis {
class Database;
}

namespace seasons {

// Copies the folder tree from `source` into `target` (created when missing).
// False with a reason when something cannot be copied.
bool copyTree(const QString &source, const QString &target, QString *why);

// Every file below `root`, as paths relative to it, sorted.
QStringList filesBelow(const QString &root);

// Writes the lines as UTF-8, each followed by LF; parent folders are created.
bool writeLines(const QString &path, const QStringList &lines, QString *why);

// Compares two files byte for byte; on a difference `why` names the first
// differing line (or the missing file). In a layout file USERLAYOUT.TB the window
// state (pixel sizes that depend on fonts and screen) must be there and readable
// but is not compared.
bool sameFile(const QString &expected, const QString &actual, QString *why);

// A table as tab-separated lines: the column names, then every row ordered by all
// columns from the first; Null is an empty field. Raises AppError.
QStringList dumpTable(tarnis::Database &db, const QString &table);

}  // namespace seasons
