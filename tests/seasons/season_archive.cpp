#include "season_archive.h"

#include "TestServer.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cstring>
#include <zip.h>

namespace seasons {
namespace {

// A source of `size` zero bytes that never holds them in memory.
struct Zeros {
    zip_uint64_t size = 0;
    zip_uint64_t offset = 0;
    zip_error_t error{};
};

zip_int64_t zerosCallback(void *user, void *data, zip_uint64_t length, zip_source_cmd_t command) {
    auto *zeros = static_cast<Zeros *>(user);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        zeros->offset = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const zip_uint64_t n = std::min(length, zeros->size - zeros->offset);
        std::memset(data, 0, static_cast<size_t>(n));
        zeros->offset += n;
        return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_STAT: {
        auto *st = static_cast<zip_stat_t *>(data);
        zip_stat_init(st);
        st->size = zeros->size;
        st->valid |= ZIP_STAT_SIZE;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&zeros->error, data, length);
    case ZIP_SOURCE_FREE:
        delete zeros;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        return -1;
    }
}

// Drops the last `bytes` bytes of `path`.
bool cutShort(const QString &path, qint64 bytes, QString *why) {
    QFile file(path);
    if (file.size() <= bytes || !file.resize(file.size() - bytes)) {
        *why = QStringLiteral("cannot cut %1 bytes off %2").arg(bytes).arg(path);
        return false;
    }
    return true;
}

}  // namespace

bool makeUpdateArchive(const QString &zipPath, const QString &recipe, const QString &work, QString *why) {
    QStringList words = recipe.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    qint64 cut = 0;
    if (words.size() >= 2 && words[words.size() - 2] == QLatin1String("cut")) {
        cut = words.last().toLongLong();
        words = words.mid(0, words.size() - 2);
        if (cut <= 0) words.clear();  // unknown
    }
    QDir().mkpath(QFileInfo(zipPath).absolutePath());
    if (words.size() == 2 && words[0] == QLatin1String("fake")) {
        const QByteArray fake = tarnis::test::readAll(QStringLiteral(TARNIS_FAKE_PROGRAM));
        if (fake.isEmpty() ||
            !tarnis::test::makeZip(zipPath, {{QStringLiteral("Tarnis"),
                                              fake + "\nFAKE_PROGRAM_MODE=" + words[1].toUtf8() + '\n'}})) {
            *why = QStringLiteral("cannot write %1").arg(zipPath);
            return false;
        }
        return cut == 0 || cutShort(zipPath, cut, why);
    }
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(zipPath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip) {
        *why = QStringLiteral("cannot create %1").arg(zipPath);
        return false;
    }
    zip_source_t *source = nullptr;
    if (words.size() == 1 && words[0] == QLatin1String("program")) {
        source = zip_source_file(zip, TARNIS_BUILT_PROGRAM, 0, -1);
    } else if (words.size() == 2 && words[0] == QLatin1String("file")) {
        source = zip_source_file(zip, QFile::encodeName(QDir(work).absoluteFilePath(words[1])).constData(), 0, -1);
    } else if (words.size() == 2 && words[0] == QLatin1String("zeros") && words[1].toLongLong() > 0) {
        source = zip_source_function(zip, &zerosCallback, new Zeros{zip_uint64_t(words[1].toLongLong()) << 20, 0, {}});
    } else {
        zip_discard(zip);
        *why = QStringLiteral("expected \"archive <file> program|file <path>|zeros <MiB>|fake <mode> [cut <bytes>]\"");
        return false;
    }
    if (source && zip_file_add(zip, "Tarnis", source, 0) < 0) {
        zip_source_free(source);
        source = nullptr;
    }
    if (!source || zip_close(zip) != 0) {
        *why = QStringLiteral("cannot write %1: %2").arg(zipPath, QString::fromUtf8(zip_strerror(zip)));
        zip_discard(zip);
        return false;
    }
    return cut == 0 || cutShort(zipPath, cut, why);
}

}  // namespace seasons
