#include "about/UnzipEngine.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

namespace tarnis {
namespace {

constexpr int kPasswordSize = 256;

class Run {
public:
    Run(const UnzipDcl &dcl, UnzipUserFunctions &fn) : dcl_(dcl), fn_(fn) {}
    int go();

private:
    void say(const QString &line) {
        if (!fn_.print) return;
        fn_.print(line, line.size());
        fn_.print(QStringLiteral("\n"), 1);
    }
    void chatter(const QString &line) {
        if (dcl_.fQuiet == 0) say(line);
    }
    void raise(int code) { result_ = std::max(result_, code); }

    void entry(zip_uint64_t index);
    void list(zip_uint64_t index, const zip_stat_t &st, const QString &name);
    std::optional<QStringList> safeParts(const QString &name) const;
    bool makeFolders(const QStringList &parts, int count, QString *failed);
    bool wanted(const QString &path, const zip_stat_t &st);
    zip_file_t *openEntry(zip_uint64_t index, const zip_stat_t &st, const QString &name);
    // Reads the whole entry into fd (-1: read only); false on a data, write or size
    // error (reported).
    bool copyOut(zip_file_t *file, int fd, const QString &name);

    const UnzipDcl &dcl_;
    UnzipUserFunctions &fn_;
    zip_t *zip_ = nullptr;
    QString base_;
    int result_ = unzip_result::Ok;
    bool replaceAll_ = false;
    bool replaceNone_ = false;
    std::optional<QByteArray> password_;
    int encryptedTried_ = 0;
    int encryptedRefused_ = 0;
    bool aborted_ = false;
};

bool isSymlinkEntry(zip_t *zip, zip_uint64_t index) {
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(zip, index, 0, &opsys, &attributes) != 0) return false;
    return opsys == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

mode_t entryMode(zip_t *zip, zip_uint64_t index) {
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(zip, index, 0, &opsys, &attributes) == 0 && opsys == ZIP_OPSYS_UNIX) {
        const mode_t mode = (attributes >> 16) & 0777;  // never setuid, setgid or sticky
        if (mode != 0) return mode;
    }
    return 0644;
}

QByteArray path8(const QString &path) { return QFile::encodeName(path); }

int Run::go() {
    const QByteArray archive = path8(dcl_.zipFN);
    struct stat st {};
    if (dcl_.zipFN.isEmpty() || ::stat(archive.constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
        say(QStringLiteral("cannot find or open %1").arg(dcl_.zipFN));
        return unzip_result::NoArchive;
    }
    int error = 0;
    zip_ = zip_open(archive.constData(), ZIP_RDONLY, &error);
    if (!zip_) {
        say(QStringLiteral("%1: not a zip archive or damaged").arg(dcl_.zipFN));
        return unzip_result::NoArchive;
    }
    base_ = dcl_.extractDir.isEmpty() ? QStringLiteral(".") : dcl_.extractDir;
    chatter(QStringLiteral("Archive:  %1").arg(dcl_.zipFN));
    if (dcl_.nzflag) {
        int length = 0;
        if (const char *comment = zip_get_archive_comment(zip_, &length, ZIP_FL_ENC_GUESS); comment && length > 0)
            say(QString::fromUtf8(comment, length));
    }
    const zip_int64_t count = zip_get_num_entries(zip_, 0);
    if (count <= 0) {
        say(QStringLiteral("warning: %1 is empty").arg(dcl_.zipFN));
        raise(unzip_result::Warning);
    }
    const bool writes = !dcl_.nvflag && !dcl_.ntflag && !dcl_.ncflag;
    if (writes && !QDir().mkpath(base_)) {
        say(QStringLiteral("error: cannot create %1").arg(base_));
        zip_discard(zip_);
        return unzip_result::WriteError;
    }
    for (zip_int64_t i = 0; i < count && !aborted_; ++i) entry(static_cast<zip_uint64_t>(i));
    zip_discard(zip_);
    if (aborted_) return unzip_result::Aborted;
    if (encryptedTried_ > 0 && encryptedRefused_ == encryptedTried_ && encryptedTried_ == count)
        return unzip_result::BadPassword;
    return result_;
}

std::optional<QStringList> Run::safeParts(const QString &name) const {
    QString path = name;
    path.replace(u'\\', u'/');
    const bool drive = path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter();
    if (path.startsWith(u'/') || drive || path.contains(QChar(0))) return std::nullopt;
    QStringList parts;
    for (const QString &part : path.split(u'/', Qt::SkipEmptyParts)) {
        if (part == QLatin1String("..")) return std::nullopt;
        if (part != QLatin1String(".")) parts << part;
    }
    if (dcl_.SpaceToUnderscore)
        for (QString &part : parts) part.replace(u' ', u'_');
    return parts;
}

bool Run::makeFolders(const QStringList &parts, int count, QString *failed) {
    QString path = base_;
    for (int i = 0; i < count; ++i) {
        path += u'/' + parts.at(i);
        const QByteArray p = path8(path);
        struct stat st {};
        if (::lstat(p.constData(), &st) == 0) {
            // A link here could lead the entry out of the target folder.
            if (S_ISDIR(st.st_mode)) continue;
            *failed = path;
            return false;
        }
        if (::mkdir(p.constData(), 0755) != 0 && errno != EEXIST) {
            *failed = path;
            return false;
        }
    }
    return true;
}

// Whether an entry is to be written at `path`, asking where the options say so.
bool Run::wanted(const QString &path, const zip_stat_t &st) {
    struct stat existing {};
    const bool exists = ::lstat(path8(path).constData(), &existing) == 0;
    if (!exists) return !dcl_.nfflag;
    if ((dcl_.nfflag || dcl_.ExtractOnlyNewer) && (st.valid & ZIP_STAT_MTIME) && st.mtime <= existing.st_mtime)
        return false;
    if (dcl_.noflag || replaceAll_) return true;
    if (replaceNone_ || !dcl_.PromptToOverwrite || !fn_.replace) return false;
    switch (fn_.replace(path)) {
    case unzip_replace::Yes:
        return true;
    case unzip_replace::All:
        replaceAll_ = true;
        return true;
    case unzip_replace::None:
        replaceNone_ = true;
        return false;
    default:
        return false;
    }
}

zip_file_t *Run::openEntry(zip_uint64_t index, const zip_stat_t &st, const QString &name) {
    const bool encrypted = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
    if (!encrypted) return zip_fopen_index(zip_, index, 0);
    ++encryptedTried_;
    if (password_) {
        if (zip_file_t *file = zip_fopen_index_encrypted(zip_, index, 0, password_->constData())) return file;
    }
    if (fn_.password) {
        QByteArray buffer(kPasswordSize, '\0');
        if (fn_.password(buffer, kPasswordSize, QStringLiteral("Enter password for %1").arg(name), name) == 0) {
            const QByteArray given = buffer.left(static_cast<qsizetype>(qstrnlen(buffer.constData(), kPasswordSize)));
            if (zip_file_t *file = zip_fopen_index_encrypted(zip_, index, 0, given.constData())) {
                password_ = given;
                return file;
            }
        }
    }
    ++encryptedRefused_;
    say(QStringLiteral("skipping: %1  incorrect password").arg(name));
    raise(unzip_result::Warning);
    return nullptr;
}

bool Run::copyOut(zip_file_t *file, int fd, const QString &name) {
    char buffer[1 << 15];
    qint64 written = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) {
            const int code = zip_error_code_zip(zip_file_get_error(file));
            if (code == ZIP_ER_CRC)
                say(QStringLiteral("error: bad CRC for %1").arg(name));
            else
                say(QStringLiteral("error: %1: %2").arg(name, QString::fromUtf8(zip_file_strerror(file))));
            raise(unzip_result::DataError);
            return false;
        }
        if (fd >= 0 && written + n > dcl_.maxEntryBytes) {
            say(QStringLiteral("error: %1 is larger than %2 bytes, not extracted").arg(name).arg(dcl_.maxEntryBytes));
            raise(unzip_result::TooLarge);
            return false;
        }
        written += n;
        for (zip_int64_t done = 0; fd >= 0 && done < n;) {
            const ssize_t w = ::write(fd, buffer + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                say(QStringLiteral("error: cannot write %1: %2").arg(name, QString::fromLocal8Bit(std::strerror(errno))));
                raise(unzip_result::WriteError);
                return false;
            }
            done += w;
        }
    }
}

void Run::list(zip_uint64_t index, const zip_stat_t &st, const QString &name) {
    if (!fn_.listing) return;
    UnzipListingEntry e;
    e.name = name;
    e.ucsize = static_cast<qint64>(st.size);
    e.csize = static_cast<qint64>(st.comp_size);
    e.cfactor = st.size > 0 ? static_cast<int>(100 - (st.comp_size * 100) / st.size) : 0;
    const QDateTime time = QDateTime::fromSecsSinceEpoch(st.mtime);
    e.month = time.date().month();
    e.day = time.date().day();
    e.year = time.date().year();
    e.hour = time.time().hour();
    e.minute = time.time().minute();
    e.method = st.comp_method == ZIP_CM_STORE ? QStringLiteral("Stored") : QStringLiteral("Defl:N");
    e.crc = st.crc;
    e.encrypted = st.encryption_method != ZIP_EM_NONE;
    (void)index;
    fn_.listing(e);
}

void Run::entry(zip_uint64_t index) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(zip_, index, ZIP_FL_ENC_GUESS, &st) != 0 || !st.name) {
        say(QStringLiteral("error: entry %1 cannot be read").arg(index));
        raise(unzip_result::DataError);
        return;
    }
    const QString name = QString::fromUtf8(st.name);
    if (!dcl_.onlyName.isEmpty() && QString(name).replace(u'\\', u'/').section(u'/', -1) != dcl_.onlyName) return;
    if (fn_.service && fn_.service(name, static_cast<qint64>(st.size)) != 0) {
        aborted_ = true;
        return;
    }
    if (dcl_.nvflag) {
        list(index, st, name);
        return;
    }
    const bool folder = name.endsWith(u'/') || name.endsWith(u'\\');
    if (isSymlinkEntry(zip_, index)) {
        say(QStringLiteral("skipping: %1  (symbolic link)").arg(name));
        raise(unzip_result::Warning);
        return;
    }
    auto parts = safeParts(name);
    if (!parts) {
        say(QStringLiteral("skipping: %1  (unsafe path)").arg(name));
        raise(unzip_result::Warning);
        return;
    }
    const bool writes = !dcl_.ntflag && !dcl_.ncflag;
    if (folder) {
        if (!writes || !dcl_.ndflag || parts->isEmpty()) return;
        QString failed;
        if (!makeFolders(*parts, parts->size(), &failed)) {
            say(QStringLiteral("error: cannot create %1").arg(failed));
            raise(unzip_result::WriteError);
        }
        return;
    }
    if (parts->isEmpty()) return;
    if (!dcl_.ndflag) *parts = QStringList{parts->last()};
    const QString target = base_ + u'/' + parts->join(u'/');

    if (!writes) {
        zip_file_t *file = openEntry(index, st, name);
        if (!file) return;
        const bool good = copyOut(file, dcl_.ncflag ? STDOUT_FILENO : -1, name);
        zip_fclose(file);
        if (good && dcl_.ntflag) chatter(QStringLiteral("    testing: %1   OK").arg(name));
        return;
    }

    QString failed;
    if (!makeFolders(*parts, parts->size() - 1, &failed)) {
        say(QStringLiteral("error: cannot create %1").arg(failed));
        raise(unzip_result::WriteError);
        return;
    }
    if (!wanted(target, st)) return;
    zip_file_t *file = openEntry(index, st, name);
    if (!file) return;

    // Written under a temporary name and renamed only when complete and checked, so a
    // broken entry leaves nothing and a link at the target is replaced, not followed.
    const int slash = target.lastIndexOf(u'/');
    QByteArray temp = path8(target.left(slash + 1) + QStringLiteral(".unzip-XXXXXX"));
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        zip_fclose(file);
        say(QStringLiteral("error: cannot create %1").arg(target));
        raise(unzip_result::WriteError);
        return;
    }
    const bool complete = copyOut(file, fd, name);
    zip_fclose(file);
    bool good = complete;
    if (good) {
        ::fchmod(fd, entryMode(zip_, index));
        if (st.valid & ZIP_STAT_MTIME) {
            const struct timespec times[2] = {{st.mtime, 0}, {st.mtime, 0}};
            ::futimens(fd, times);
        }
        if (::fsync(fd) != 0) good = false;
    }
    if (::close(fd) != 0) good = false;
    if (good && ::rename(temp.constData(), path8(target).constData()) != 0) good = false;
    if (!good) {
        ::unlink(temp.constData());
        if (complete) {
            say(QStringLiteral("error: cannot create %1").arg(target));
            raise(unzip_result::WriteError);
        }
        return;
    }
    chatter(QStringLiteral("  inflating: %1").arg(target));
}

}  // namespace

int WizSingleEntryUnzip(const UnzipDcl &dcl, UnzipUserFunctions &functions) {
    Run run(dcl, functions);
    return run.go();
}

}  // namespace tarnis
