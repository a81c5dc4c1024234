#include "platform/files/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace tarnis {

QString ProgramFolder() {
    QString dir = qEnvironmentVariable("TARNIS_PROGRAM_DIR");
    if (dir.isEmpty()) dir = QCoreApplication::applicationDirPath();
    dir = QDir::cleanPath(QDir::fromNativeSeparators(dir));
    return dir;
}

namespace {

// Permission bits do not tell for root or for read-only mounts: try a file.
bool canWriteIn(const QString &dir) {
    if (!QFileInfo(dir).isDir()) return false;
    QTemporaryFile probe(dir + QStringLiteral("/.tarnis-probe-XXXXXX"));
    return probe.open();
}

}  // namespace

QString ProgramFilePath(const QString &fileName) {
    const QString program = ProgramFolder();
    if (canWriteIn(program)) return program + u'/' + fileName;
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty()) data = QDir::homePath() + QStringLiteral("/.local/share");
    data += QStringLiteral("/Lrv. Tarnis");
    QDir().mkpath(data);
    return data + u'/' + fileName;
}

}  // namespace tarnis
