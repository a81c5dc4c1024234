#pragma once
// The program folder and the place of the files the program writes by default.
#include <QString>

namespace tarnis {

// The folder of the running program without a trailing separator;
// TARNIS_PROGRAM_DIR overrides it.
QString ProgramFolder();

// Where a file the program writes by default (USERLAYOUT.TB, a new "Tarnis.mdb") is
// kept: the per-user data folder (created when missing), never the program folder,
// which may be read-only or be removed with a new build of the program.
QString UserDataFilePath(const QString &fileName);

}  // namespace tarnis
