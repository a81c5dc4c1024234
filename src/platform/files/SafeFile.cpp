#include "platform/files/SafeFile.h"

#include "platform/files/FileUtils.h"
#include "platform/files/PathResolution.h"
#include "platform/files/SystemError.h"
#include "platform/text/TextRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnis {
namespace {

constexpr qint64 kBufferSize = 1 << 16;
constexpr int kTempSuffixLength = 6;  // the XXXXXX of mkstemp

FileSyncCall gFileSync = ::fsync;

// Makes the rename itself durable; a folder that cannot be synced is no failure of the file.
void syncFolder(const QString &folder) {
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

struct ResolvedTarget {
    QString path;
    int error = 0;  // the system's reason why nothing can be written there
};

// The file a write of target replaces, where the system's own resolution of the path
// leads, so that the writer and every other reader of the path reach one file: a link
// stays and the file at the end of its chain gets the contents. A chain that ends in a
// missing file has it created there; where the chain's last folder is missing, a single
// link is refused as the system refuses it, a longer chain has its last link replaced.
ResolvedTarget resolveTarget(const QString &target) {
    const PathResolution resolved = resolvePath(target);
    switch (resolved.end) {
    case PathResolution::End::Exists:
        return {resolved.path};
    case PathResolution::End::Missing:
        if (resolved.folderExists) return {resolved.path};
        if (resolved.endLinks >= 2) return {resolved.lastLink};
        return {target, resolved.endLinks == 1 ? ENOENT : 0};
    case PathResolution::End::Refused:
        break;
    }
    // Without a link at its end the path is left to the system, which tells what it lacks.
    return {target, resolved.error == ELOOP || resolved.endLinks > 0 ? resolved.error : 0};
}

// ".name.tmp-" beside file; a long name is shortened so that the temporary name stays
// within the file system's limit of 255 bytes.
QString prefixBeside(const QString &file) {
    const QFileInfo info(file);
    QString name = info.fileName();
    if (QFile::encodeName(name).size() > 200) name = textrules::Left(name, 60);
    return info.absolutePath() + QStringLiteral("/.") + name + QStringLiteral(".tmp-");
}

// The prefix followed by the letters and digits that mkstemp puts in place of its XXXXXX.
bool isTemporaryName(const QString &name, const QString &namePrefix) {
    if (name.size() != namePrefix.size() + kTempSuffixLength || !name.startsWith(namePrefix)) return false;
    return std::all_of(name.end() - kTempSuffixLength, name.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    });
}

// Removes the files of folder whose names have namePrefix and mkstemp's letters and digits.
void removeTemporaries(const QString &folderPath, const QString &namePrefix) {
    const QDir folder(folderPath);
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names)
        if (isTemporaryName(name, namePrefix)) removeOwnFile(folder.filePath(name));
}

}  // namespace

SafeFileWriter::SafeFileWriter(QString target) : target_(std::move(target)) {}

SafeFileWriter::~SafeFileWriter() { discard(); }

bool SafeFileWriter::fail(const QString &what, int errnum) {
    if (!failed_) error_ = errnum ? QStringLiteral("%1: %2").arg(what, systemErrorText(errnum)) : what;
    failed_ = true;
    return false;
}

bool SafeFileWriter::open() {
    discard();
    failed_ = false;
    error_.clear();
    written_ = 0;
    if (target_.isEmpty() || QFileInfo(target_).isDir())
        return fail(QStringLiteral("Ungültiger Dateiname \"%1\"").arg(target_), 0);
    const ResolvedTarget resolved = resolveTarget(target_);
    if (resolved.error)
        return fail(QStringLiteral("Datei \"%1\" kann nicht angelegt werden").arg(target_), resolved.error);
    realTarget_ = resolved.path;
    if (QFileInfo(realTarget_).isDir())
        return fail(QStringLiteral("Ungültiger Dateiname \"%1\"").arg(target_), 0);
    if (const QString protectedFile = writeProtectionReason(target_); !protectedFile.isEmpty())
        return fail(protectedFile, 0);
    // The target is followed already: its temporaries lie beside it, whatever it is.
    const QString prefix = prefixBeside(realTarget_);
    removeTemporaries(QFileInfo(prefix).absolutePath(), QFileInfo(prefix).fileName());
    QByteArray pattern = QFile::encodeName(prefix) + QByteArray(kTempSuffixLength, 'X');
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return fail(QStringLiteral("Datei \"%1\" kann nicht angelegt werden").arg(target_), errno);
    // The new file keeps the mode of the one it replaces, else the usual mode for new files.
    struct stat st {};
    if (::stat(QFile::encodeName(realTarget_).constData(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    fd_ = fd;
    tempPath_ = QFile::decodeName(pattern);
    buffer_.reserve(kBufferSize);
    return true;
}

bool SafeFileWriter::flushBuffer() {
    const char *p = buffer_.constData();
    qint64 left = buffer_.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, static_cast<size_t>(left));
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            const int reason = n < 0 ? errno : EIO;
            buffer_.clear();
            return fail(QStringLiteral("Datei \"%1\" kann nicht geschrieben werden").arg(target_), reason);
        }
        p += n;
        left -= n;
        written_ += n;
    }
    buffer_.clear();
    return true;
}

bool SafeFileWriter::write(const char *data, qint64 size) {
    if (failed_) return false;
    if (fd_ < 0) return fail(QStringLiteral("Datei \"%1\" ist nicht geöffnet").arg(target_), 0);
    if (size <= 0) return true;
    if (buffer_.size() + size > kBufferSize && !flushBuffer()) return false;
    if (size >= kBufferSize) {
        buffer_ = QByteArray::fromRawData(data, size);
        const bool ok = flushBuffer();
        buffer_ = QByteArray();
        buffer_.reserve(kBufferSize);
        return ok;
    }
    buffer_.append(data, size);
    return true;
}

// Renames (or, keeping an existing target, links) the temporary file into place.
bool SafeFileWriter::putInPlace() {
    const QByteArray from = QFile::encodeName(tempPath_);
    const QByteArray to = QFile::encodeName(realTarget_);
    if (!keepExisting_) {
        if (::rename(from.constData(), to.constData()) == 0) return true;
        return fail(QStringLiteral("Datei \"%1\" kann nicht ersetzt werden").arg(target_), errno);
    }
    // link() never replaces: a target that appeared meanwhile makes it fail with EEXIST.
    if (::link(from.constData(), to.constData()) != 0)
        return fail(QStringLiteral("Datei \"%1\" kann nicht angelegt werden").arg(target_), errno);
    ::unlink(from.constData());
    return true;
}

bool SafeFileWriter::commit() {
    if (fd_ < 0 && !failed_) return fail(QStringLiteral("Datei \"%1\" ist nicht geöffnet").arg(target_), 0);
    bool ok = !failed_ && flushBuffer();
    if (ok && gFileSync(fd_) != 0) ok = fail(QStringLiteral("Datei \"%1\" kann nicht gesichert werden").arg(target_), errno);
    if (ok) {
        struct stat st {};
        if (::fstat(fd_, &st) != 0 || st.st_size != written_)
            ok = fail(QStringLiteral("Datei \"%1\" wurde nicht vollständig geschrieben").arg(target_), EIO);
    }
    if (fd_ >= 0) {
        if (::close(fd_) != 0 && ok) ok = fail(QStringLiteral("Datei \"%1\" kann nicht geschlossen werden").arg(target_), errno);
        fd_ = -1;
    }
    if (ok) ok = putInPlace();
    if (!ok) {
        discard();
        return false;
    }
    tempPath_.clear();
    syncFolder(QFileInfo(realTarget_).absolutePath());
    return true;
}

void SafeFileWriter::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.isEmpty()) {
        ::unlink(QFile::encodeName(tempPath_).constData());
        tempPath_.clear();
    }
    buffer_.clear();
}

bool writeFileSafely(const QString &target, const QByteArray &bytes, QString *error) {
    SafeFileWriter writer(target);
    const bool ok = writer.open() && writer.write(bytes) && writer.commit();
    if (!ok && error) *error = writer.errorString();
    return ok;
}

WriterTemporaries::WriterTemporaries(const QString &target) {
    const QFileInfo prefix(prefixBeside(resolveTarget(target).path));
    folder_ = prefix.absolutePath();
    namePrefix_ = prefix.fileName();
}

bool WriterTemporaries::has(const QString &path) const {
    const QFileInfo file(path);
    return file.absolutePath() == folder_ && isTemporaryName(file.fileName(), namePrefix_);
}

void WriterTemporaries::removeLeftovers() const { removeTemporaries(folder_, namePrefix_); }

void removeStaleTemporaries(const QString &target) { WriterTemporaries(target).removeLeftovers(); }

bool isWriterTemporaryOf(const QString &path, const QString &target) { return WriterTemporaries(target).has(path); }

void removeOwnFile(const QString &path) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
        ::unlink(name.constData());
}

QString writerTemporaryTarget(const QString &fileName) {
    // A file name may hold any character but "/", a line break too.
    static const QRegularExpression form(
        QRegularExpression::anchoredPattern(QStringLiteral("\\.(.+)\\.tmp-[A-Za-z0-9]{%1}").arg(kTempSuffixLength)),
        QRegularExpression::DotMatchesEverythingOption);
    return form.match(fileName).captured(1);
}

QString writeProtectionReason(const QString &target) {
    if (!QFileInfo::exists(target) || !IsWriteProtected(target)) return QString();
    return QStringLiteral("Datei \"%1\" ist schreibgeschützt und wird nicht ersetzt").arg(QDir::toNativeSeparators(target));
}

FileSyncCall setFileSyncCall(FileSyncCall call) {
    const FileSyncCall before = gFileSync;
    gFileSync = call ? call : ::fsync;
    return before;
}

}  // namespace tarnis
