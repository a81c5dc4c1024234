#include "platform/files/PathResolution.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnis {
namespace {

constexpr int kMaxLinks = 40;  // as many as Linux follows in one path, folders included (MAXSYMLINKS)

QString decoded(const QByteArray &folder, const QByteArray &name = QByteArray()) {
    if (name.isEmpty()) return folder.isEmpty() ? QStringLiteral("/") : QFile::decodeName(folder);
    return QFile::decodeName(folder + '/' + name);
}

// The next name of rest and what follows it.
struct NextName {
    QByteArray name;
    qsizetype start = 0;      // where the name begins in rest
    bool last = false;        // nothing but slashes follows
    bool mustBeFolder = false;  // the last name, followed by a slash
};

NextName takeName(QByteArray &rest) {
    NextName next;
    qsizetype start = 0;
    while (start < rest.size() && rest[start] == '/') ++start;
    qsizetype stop = rest.indexOf('/', start);
    if (stop < 0) stop = rest.size();
    qsizetype after = stop;
    while (after < rest.size() && rest[after] == '/') ++after;
    next.name = rest.mid(start, stop - start);
    next.start = start;
    next.last = after == rest.size();
    next.mustBeFolder = next.last && stop < rest.size();
    rest = rest.mid(after);
    return next;
}

}  // namespace

PathResolution resolvePath(const QString &path) {
    PathResolution r;
    QByteArray rest = QFile::encodeName(path);
    if (rest.isEmpty()) {
        r.error = ENOENT;
        return r;
    }
    // The real folder reached so far, the root as empty text.
    QByteArray done;
    if (!rest.startsWith('/')) {
        done = QFile::encodeName(QDir::currentPath());
        if (done == "/") done.clear();
    }
    qsizetype ownLength = rest.size();  // the end of rest that is still the path as given
    int links = 0;
    for (;;) {
        const qsizetype restSize = rest.size();
        const NextName next = takeName(rest);
        const bool fromLink = next.start < restSize - ownLength;
        ownLength = std::min(ownLength, rest.size());
        if (next.name.isEmpty()) {  // the whole rest was slashes: the folder reached is the end
            r.end = PathResolution::End::Exists;
            r.path = decoded(done);
            return r;
        }
        if (next.last && !fromLink) r.folder = decoded(done);
        if (next.name == ".") continue;
        if (next.name == "..") {
            done.truncate(std::max<qsizetype>(done.lastIndexOf('/'), 0));
            continue;
        }
        const QByteArray here = done + '/' + next.name;
        struct stat st {};
        if (::lstat(here.constData(), &st) != 0) {
            r.error = errno;
            if (r.error == ENOENT && !next.mustBeFolder) {
                r.end = PathResolution::End::Missing;
                r.path = decoded(done, next.name);
                r.folderExists = next.last;
                r.nameFromLink = fromLink;
                r.error = 0;
            } else if (r.error == ENOENT) {
                r.error = EISDIR;  // as open() with O_CREAT answers a missing name with a slash
            }
            return r;
        }
        if (S_ISLNK(st.st_mode)) {
            if (next.last) {
                ++r.endLinks;
                r.lastLink = decoded(done, next.name);
            }
            // A last name with a slash after it is no file to make: open() with O_CREAT
            // refuses it so, without following the link.
            if (next.mustBeFolder) {
                r.error = EISDIR;
                return r;
            }
            if (++links > kMaxLinks) {
                r.error = ELOOP;
                return r;
            }
            QByteArray text(PATH_MAX, '\0');
            const ssize_t n = ::readlink(here.constData(), text.data(), text.size());
            if (n < 0 || n >= PATH_MAX) {
                r.error = n < 0 ? errno : ENAMETOOLONG;
                return r;
            }
            text.truncate(n);
            if (!rest.isEmpty()) rest.prepend('/');
            rest.prepend(text);
            if (text.startsWith('/')) done.clear();
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            done = here;
            continue;
        }
        if (!next.last || next.mustBeFolder) {
            r.error = ENOTDIR;
            return r;
        }
        r.end = PathResolution::End::Exists;
        r.path = decoded(done, next.name);
        return r;
    }
}

bool folderReached(const QString &path) { return !resolvePath(path).folder.isEmpty(); }

QString inRealFolder(const QString &path) {
    const PathResolution resolved = resolvePath(path);
    const QFileInfo info(path);
    if (resolved.folder.isEmpty()) return info.absoluteFilePath();
    return resolved.folder == QLatin1String("/") ? QLatin1Char('/') + info.fileName()
                                                 : resolved.folder + QLatin1Char('/') + info.fileName();
}

QString openedFile(const QString &path) {
    const PathResolution resolved = resolvePath(path);
    return resolved.end == PathResolution::End::Exists ? resolved.path : inRealFolder(path);
}

QString brokenLinkReason(const QString &path) {
    const PathResolution resolved = resolvePath(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (resolved.end == PathResolution::End::Refused && resolved.error == ELOOP)
        return QStringLiteral("Die symbolischen Verknüpfungen im Pfad '%1' verweisen im Kreis oder sind mehr als %2 "
                              "hintereinander.")
            .arg(shown)
            .arg(kMaxLinks);
    if (resolved.end != PathResolution::End::Missing || !resolved.nameFromLink) return QString();
    const QString missing = QDir::toNativeSeparators(resolved.path);
    if (resolved.folderExists)
        return QStringLiteral("Der Pfad '%1' ist eine symbolische Verknüpfung auf die fehlende Datei '%2'.")
            .arg(shown, missing);
    return QStringLiteral("Der Pfad '%1' führt über eine symbolische Verknüpfung zum fehlenden Ordner '%2'.")
        .arg(shown, missing);
}

}  // namespace tarnis
