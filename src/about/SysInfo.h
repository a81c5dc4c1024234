#pragma once
// Starts the desktop's system-information program.
#include <QString>
#include <QStringList>
#include <functional>

namespace tarnis {

// The programs looked for on the PATH, in this order.
QStringList SysInfoPrograms();

using ProgramStarter = std::function<bool(const QString &program)>;

// Starts the first of `programs` found on the PATH; when none is found or it does not
// start, says "System Information Is Unavailable At This Time".
void StartSysInfo(const QStringList &programs = SysInfoPrograms(), const ProgramStarter &start = {});

}  // namespace tarnis
