#pragma once
// Where an export may write: never over the series file the program is working on.
// A press list replaces its file without a question, and a page or the mail merge
// after a "Ja" to the overwrite question; chosen by mistake in a save dialog, the
// series file would be gone with every result in it.
#include <QString>

namespace tarnis {

// True when path names the open series file, under its own or another name (a link).
bool isOpenSeriesFile(const QString &path);

// Raises 75 with a German description when path names the open series file or a
// write-protected file.
void checkExportTarget(const QString &path);

}  // namespace tarnis
