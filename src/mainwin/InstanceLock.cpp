#include "mainwin/InstanceLock.h"

#include "platform/settings/Settings.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <memory>
#include <optional>

namespace tarnis {

namespace {
std::unique_ptr<QLockFile> lock;
std::optional<bool> otherCopy;
}  // namespace

QString InstanceLockPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir + u'/' + kAppTitle + QStringLiteral(".lock");
}

bool AnotherCopyRunning() {
    if (otherCopy) return *otherCopy;
    lock = std::make_unique<QLockFile>(InstanceLockPath());
    // Only a dead owner makes the lock stale: a long first run must keep it.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        otherCopy = false;
    } else {
        // A lock file that cannot be written at all says nothing about another copy.
        otherCopy = lock->error() == QLockFile::LockFailedError;
        lock.reset();
    }
    return *otherCopy;
}

void ReleaseInstanceLock() {
    lock.reset();
    otherCopy.reset();
}

}  // namespace tarnis
