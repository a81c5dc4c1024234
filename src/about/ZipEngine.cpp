#include "about/ZipEngine.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

namespace tarnis {
namespace {

struct Item {
    QString path;   // on disk
    QString entry;  // in the archive
    bool folder = false;
};

class Packer {
public:
    Packer(const ZipOptions &options, ZipUserFunctions &fn) : options_(options), fn_(fn) {}

    int run(const QStringList &names, const QString &zipName);

private:
    void say(const QString &line) {
        if (!fn_.print) return;
        const QString text = line + u'\n';
        fn_.print(text, text.size());
    }
    QString entryName(const QString &absolute, bool folder) const;
    // Only regular files are packed: a pipe, socket or device would block or never
    // end when read, so it stops the run (reported by name) before anything is opened.
    bool refuseSpecial(const QString &path, const struct stat &st);
    bool collect(const QString &name, QList<Item> &items);
    bool pack(zip_t *zip, const Item &item);

    const ZipOptions &options_;
    ZipUserFunctions &fn_;
    QString root_;
};

QString Packer::entryName(const QString &absolute, bool folder) const {
    QString name = absolute;
    if (options_.fJunkDir) {
        name = QFileInfo(absolute).fileName();
    } else {
        const QString prefix = root_.endsWith(u'/') ? root_ : root_ + u'/';
        if (name.startsWith(prefix)) name = name.mid(prefix.size());
        while (name.startsWith(u'/')) name.remove(0, 1);
    }
    if (folder && !name.isEmpty()) name += u'/';
    return name;
}

bool Packer::refuseSpecial(const QString &path, const struct stat &st) {
    if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) return false;
    say(QStringLiteral("zip error: %1 ist keine gewöhnliche Datei (Pipe, Socket oder Gerät) und wird nicht gepackt")
            .arg(path));
    return true;
}

bool Packer::collect(const QString &name, QList<Item> &items) {
    QString path = QDir::fromNativeSeparators(name);
    if (QDir::isRelativePath(path)) path = root_ + u'/' + path;
    path = QDir::cleanPath(path);
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &st) != 0 || ::access(native.constData(), R_OK) != 0) {
        say(QStringLiteral("zip error: cannot read %1").arg(name));
        return false;
    }
    if (refuseSpecial(name, st)) return false;
    if (!S_ISDIR(st.st_mode)) {
        items.append({path, entryName(path, false), false});
        return true;
    }
    if (!options_.fNoDirEntries && !options_.fJunkDir && !entryName(path, true).isEmpty())
        items.append({path, entryName(path, true), true});
    if (!options_.fRecurse) return true;
    std::error_code error;
    std::filesystem::recursive_directory_iterator it(native.constData(), error), end;
    for (; !error && it != end; it.increment(error)) {
        const QString child = QFile::decodeName(QByteArray::fromStdString(it->path().string()));
        // What a link leads to decides; a link to a folder is not followed.
        struct stat target {};
        if (::stat(it->path().c_str(), &target) != 0) {
            say(QStringLiteral("zip error: cannot read %1").arg(child));
            return false;
        }
        if (S_ISDIR(target.st_mode)) {
            if (it->is_symlink(error)) continue;
            if (!options_.fNoDirEntries && !options_.fJunkDir) items.append({child, entryName(child, true), true});
            continue;
        }
        if (refuseSpecial(child, target)) return false;
        if (::access(QFile::encodeName(child).constData(), R_OK) != 0) {
            say(QStringLiteral("zip error: cannot read %1").arg(child));
            return false;
        }
        items.append({child, entryName(child, false), false});
    }
    if (error) {
        say(QStringLiteral("zip error: cannot read %1").arg(name));
        return false;
    }
    return true;
}

bool Packer::pack(zip_t *zip, const Item &item) {
    const QByteArray entry = item.entry.toUtf8();
    const zip_int64_t existing = zip_name_locate(zip, entry.constData(), ZIP_FL_ENC_UTF_8);
    if (item.folder) {
        if (existing < 0 && !options_.fFreshen && zip_dir_add(zip, entry.constData(), ZIP_FL_ENC_UTF_8) < 0) {
            say(QStringLiteral("zip error: %1: %2").arg(item.entry, QString::fromUtf8(zip_strerror(zip))));
            return false;
        }
        return true;
    }
    if (existing < 0 && options_.fFreshen) return true;
    if (existing >= 0 && (options_.fUpdate || options_.fFreshen)) {
        zip_stat_t st;
        zip_stat_init(&st);
        const QDateTime modified = QFileInfo(item.path).lastModified();
        if (zip_stat_index(zip, static_cast<zip_uint64_t>(existing), 0, &st) == 0 && (st.valid & ZIP_STAT_MTIME) &&
            modified.toSecsSinceEpoch() <= st.mtime)
            return true;
    }
    zip_source_t *source = zip_source_file(zip, QFile::encodeName(item.path).constData(), 0, -1);
    const bool added =
        source && (existing >= 0 ? zip_file_replace(zip, static_cast<zip_uint64_t>(existing), source, 0) == 0
                                 : zip_file_add(zip, entry.constData(), source, ZIP_FL_ENC_UTF_8) >= 0);
    if (!added) {
        if (source) zip_source_free(source);
        say(QStringLiteral("zip error: %1: %2").arg(item.entry, QString::fromUtf8(zip_strerror(zip))));
        return false;
    }
    if (options_.fQuiet == 0)
        say(QStringLiteral("%1: %2").arg(existing >= 0 ? QStringLiteral("updating") : QStringLiteral("  adding"),
                                          item.entry));
    return true;
}

int Packer::run(const QStringList &names, const QString &zipName) {
    root_ = options_.rootDir.isEmpty() ? QStringLiteral("/") : QDir::cleanPath(QDir::fromNativeSeparators(options_.rootDir));
    if (names.isEmpty()) {
        say(QStringLiteral("zip error: Nothing to do! (%1)").arg(zipName));
        return zip_result::NothingToDo;
    }
    QList<Item> items;
    for (const QString &name : names)
        if (!collect(name, items)) return zip_result::ReadError;

    const bool existed = QFileInfo::exists(zipName);
    int error = 0;
    zip_t *zip = zipName.isEmpty() ? nullptr : zip_open(QFile::encodeName(zipName).constData(), ZIP_CREATE, &error);
    if (!zip) {
        say(QStringLiteral("zip error: Could not create output file (%1)").arg(zipName));
        return zip_result::CreateError;
    }
    for (const Item &item : items) {
        if (!pack(zip, item)) {
            zip_discard(zip);
            return zip_result::ReadError;
        }
    }
    // The archive is written here, to a temporary file renamed over the old one.
    if (zip_close(zip) != 0) {
        say(QStringLiteral("zip error: %1 (%2)").arg(QString::fromUtf8(zip_strerror(zip)), zipName));
        zip_discard(zip);
        return existed ? zip_result::WriteError : zip_result::CreateError;
    }
    return zip_result::Ok;
}

}  // namespace

int ZpArchive(const QStringList &names, const QString &zipName, const ZipOptions &options,
              ZipUserFunctions &functions) {
    Packer packer(options, functions);
    return packer.run(names, zipName);
}

}  // namespace tarnis
