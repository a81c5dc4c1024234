#pragma once
// Whether a downloaded file is a program that runs on this machine, before it may
// take the installed program's place.
#include <QString>

namespace tarnis {

// An empty text when `file` is an ELF executable of the same class, byte order and
// machine as `reference` (the running program) and, started with "--version" and no
// display, ends with 0 within `timeoutMs` and prints first this program's name, a
// blank and a version ("Lrv. Tarnis 1.0.0") in a first line of at most 4096 bytes (its
// line end may be byte 4097); else the reason. It runs in a process group of its own,
// which is ended when it answers, fails or times out; a process that leaves the group
// on purpose (setsid) is beyond that.
QString CheckRunnableProgram(const QString &file, const QString &reference, int timeoutMs);

}  // namespace tarnis
