#include "about/ProgramInstaller.h"

#include "platform/files/SystemError.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnis {
namespace {

QString reason(int errnum) { return systemErrorText(errnum); }

// An open file descriptor that closes itself.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    // Closes now; false (errno set) when the close fails.
    bool close() {
        const int f = fd;
        fd = -1;
        return ::close(f) == 0;
    }
};

// Copies all of `from` into `to` and syncs it; false with errno set.
bool copyAll(int from, int to) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(to, buffer + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            done += w;
        }
    }
    return ::fsync(to) == 0;
}

// A hard link is instant and keeps the file as it is; where the file system has
// none, a copy with the same mode serves.
bool keepBackup(const QByteArray &program, const QByteArray &backup, mode_t mode, const InstallOps &ops, int *errnum) {
    if (ops.link(program.constData(), backup.constData()) == 0) return true;
    *errnum = errno;
    if (*errnum != EPERM && *errnum != EXDEV && *errnum != ENOTSUP && *errnum != EMLINK && *errnum != ENOSYS)
        return false;
    Fd in(::open(program.constData(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0) return (*errnum = errno, false);
    Fd out(::open(backup.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (out.fd < 0) return (*errnum = errno, false);
    if (!copyAll(in.fd, out.fd) || !out.close()) {
        *errnum = errno;
        ::unlink(backup.constData());
        return false;
    }
    return true;
}

void syncFolder(const QString &folder) {
    Fd dir(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd >= 0) ::fsync(dir.fd);
}

}  // namespace

InstallResult InstallProgramFile(const QString &newFile, const QString &program, const QString &stamp,
                                 const InstallOps &given) {
    InstallOps ops = given;
    if (!ops.link) ops.link = [](const char *a, const char *b) { return ::link(a, b); };
    if (!ops.rename) ops.rename = [](const char *a, const char *b) { return ::rename(a, b); };

    InstallResult result;
    const QByteArray programPath = QFile::encodeName(program);
    struct stat old {};
    if (::stat(programPath.constData(), &old) != 0) {
        result.error = QStringLiteral("%1: %2").arg(program, reason(errno));
        return result;
    }
    const mode_t mode = old.st_mode & 0777;  // never setuid or setgid

    Fd in(::open(QFile::encodeName(newFile).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (in.fd < 0) {
        result.error = QStringLiteral("%1: %2").arg(newFile, reason(errno));
        return result;
    }
    const QFileInfo info(program);
    QByteArray temp = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                                        QStringLiteral(".new-XXXXXX"));
    Fd out(::mkstemp(temp.data()));
    if (out.fd < 0) {
        result.error = QStringLiteral("%1: %2").arg(info.absolutePath(), reason(errno));
        return result;
    }
    auto fail = [&](const QString &what, int errnum) {
        ::unlink(temp.constData());
        result.error = QStringLiteral("%1: %2").arg(what, reason(errnum));
        return result;
    };
    if (::fchmod(out.fd, mode) != 0 || !copyAll(in.fd, out.fd) || !out.close())
        return fail(QFile::decodeName(temp), errno);

    const QString base = program + u'_' + stamp;
    QString backup = base;
    for (int n = 1;; ++n) {
        int errnum = 0;
        if (keepBackup(programPath, QFile::encodeName(backup), mode, ops, &errnum)) break;
        if (errnum != EEXIST) return fail(backup, errnum);
        backup = base + u'_' + QString::number(n);
    }
    if (ops.rename(temp.constData(), programPath.constData()) != 0) {
        const int errnum = errno;
        ::unlink(QFile::encodeName(backup).constData());
        return fail(program, errnum);
    }
    syncFolder(info.absolutePath());
    result.installed = true;
    result.backup = backup;
    return result;
}

}  // namespace tarnis
