#include "platform/files/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace tarnis {

QString ProgramFolder() {
    QString dir = qEnvironmentVariable("TARNIS_PROGRAM_DIR");
    if (dir.isEmpty()) dir = QCoreApplication::applicationDirPath();
    dir = QDir::cleanPath(QDir::fromNativeSeparators(dir));
    return dir;
}

QString UserDataFilePath(const QString &fileName) {
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty()) data = QDir::homePath() + QStringLiteral("/.local/share/Lrv. Tarnis");
    QDir().mkpath(data);
    return data + u'/' + fileName;
}

}  // namespace tarnis
