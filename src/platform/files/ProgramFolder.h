#pragma once
// The program folder and the place of the files the program writes there.
#include <QString>

namespace tarnis {

// The folder of the running program without a trailing separator;
// TARNIS_PROGRAM_DIR overrides it.
QString ProgramFolder();

// Where a file that belongs in the program folder (USERLAYOUT.TB, a new
// "Tarnis.mdb") is kept: the program folder when it can be written, otherwise
// the per-user data folder (created when missing).
QString ProgramFilePath(const QString &fileName);

}  // namespace tarnis
