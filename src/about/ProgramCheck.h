#pragma once
// Whether a downloaded file is a program that runs on this machine, before it may
// take the installed program's place.
#include <QString>

namespace tarnis {

// An empty text when `file` is an ELF executable of the same class, byte order and
// machine as `reference` (the running program) and, started with "--version" and no
// display, ends with 0 within `timeoutMs` and prints a version line; else the reason.
QString CheckRunnableProgram(const QString &file, const QString &reference, int timeoutMs);

}  // namespace tarnis
