#include "export/ExportTarget.h"

#include "core/db/Globals.h"
#include "platform/errors/AppError.h"
#include "platform/files/SafeFile.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>

namespace tarnis {

bool isOpenSeriesFile(const QString &path) {
    if (path.isEmpty() || gDBPath.isEmpty()) return false;
    // The same file on disk, however it is named.
    struct stat target {}, series {};
    if (::stat(QFile::encodeName(path).constData(), &target) != 0) return false;
    if (::stat(QFile::encodeName(gDBPath).constData(), &series) != 0) return false;
    return target.st_dev == series.st_dev && target.st_ino == series.st_ino;
}

void checkExportTarget(const QString &path) {
    if (isOpenSeriesFile(path))
        throw AppError(75, kRuntimeSource,
                       QStringLiteral("Die Datei \"%1\" ist die geöffnete Seriendatei und wird nicht überschrieben.")
                           .arg(QDir::toNativeSeparators(path)));
    // Before any question about replacing it: the answer could not be followed.
    if (const QString reason = writeProtectionReason(path); !reason.isEmpty())
        throw AppError(75, kRuntimeSource, reason);
}

}  // namespace tarnis
