#include "about/SysInfo.h"

#include "platform/ui/Ui.h"

#include <QProcess>
#include <QStandardPaths>

namespace tarnis {

QStringList SysInfoPrograms() {
    return {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"), QStringLiteral("gnome-system-monitor")};
}

void StartSysInfo(const QStringList &programs, const ProgramStarter &start) {
    bool started = false;
    try {
        for (const QString &name : programs) {
            const QString path = QStandardPaths::findExecutable(name);
            if (path.isEmpty()) continue;
            started = start ? start(path) : QProcess::startDetached(path, {});
            break;
        }
    } catch (...) {
        started = false;
    }
    if (!started)
        ui().message(QStringLiteral("System Information Is Unavailable At This Time"), MsgButtons::Ok, MsgIcon::None);
}

}  // namespace tarnis
