#include "about/OnlineUpdate.h"

#include "about/CGUnzipFiles.h"
#include "about/ProgramCheck.h"
#include "platform/files/ProgramFolder.h"
#include "platform/text/Clock.h"
#include "platform/text/CodePage.h"
#include "platform/ui/Ui.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <zip.h>

#ifndef TARNIS_UPDATE_URL
#define TARNIS_UPDATE_URL "https://update.tarnis.invalid/"
#endif

namespace tarnis {
namespace {

const QString kNoList = QStringLiteral("Keine Versionsinformationen im Internet gefunden!");
const QString kListNotFound = QStringLiteral("Keine Versions Informationen gefunden!");
const QString kCorrupt = QStringLiteral("Die heruntergeladene Programmversion ist fehlerhaft und wurde nicht installiert!");
const QString kNotDownloaded = QStringLiteral("Die neue Programmversion konnte nicht heruntergeladen werden!");
const QString kNotInstalled = QStringLiteral("Die neue Programmversion konnte nicht installiert werden!");
const QString kNoProgram = QStringLiteral("Das heruntergeladene Archiv enthält kein Programm!");
const QString kDamaged = QStringLiteral("Das heruntergeladene Archiv ist beschädigt!");
const QString kNotRunnable = QStringLiteral("Die heruntergeladene Datei ist kein lauffähiges Programm für diesen Rechner.");

void inform(const QString &text) { ui().message(text, MsgButtons::Ok, MsgIcon::Information); }

// Blanks, tabs and the CR of a CR LF row end.
QString trimField(const QString &field) {
    static const QRegularExpression edges(QStringLiteral("^[ \\t\\r]+|[ \\t\\r]+$"));
    return QString(field).remove(edges);
}

bool isProduct(const QString &field) {
    static const QRegularExpression number(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
    const QString text = trimField(field);
    return number.match(text).hasMatch() && text.toDouble() == kUpdateProduct;
}

QString sha256Of(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QString();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) return QString();
    return QString::fromLatin1(hash.result().toHex());
}

bool isRegularFile(const QString &path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

qint64 statvfsFreeBytes(const QString &folder) {
    struct statvfs fs {};
    if (::statvfs(QFile::encodeName(folder).constData(), &fs) != 0) return -1;
    return static_cast<qint64>(fs.f_bavail) * static_cast<qint64>(fs.f_frsize);
}

// Whole MiB, rounded up: a need or a limit is never understated.
QString mebibytes(qint64 bytes) { return QString::number((bytes + (1 << 20) - 1) >> 20); }

// Nothing when there is room for `needed` bytes in `folder`, else the reason.
std::optional<QString> lacksRoom(const UpdateContext &context, const QString &folder, qint64 needed,
                                 const QString &what) {
    const qint64 free = context.freeBytes ? context.freeBytes(folder) : statvfsFreeBytes(folder);
    if (free < 0 || free >= needed) return std::nullopt;
    return QStringLiteral("Im %1 \"%2\" sind nur %3 MiB frei; benötigt werden %4 MiB.")
        .arg(what, QDir::toNativeSeparators(folder), QString::number(free >> 20), mebibytes(needed));
}

// What the archive's directory says of its program file: an entry named kProgramEntry
// at any depth that is neither a folder nor a link.
struct ProgramEntry {
    bool readable = false;       // false: the archive cannot be opened (cut short, damaged)
    std::optional<qint64> size;  // the size it declares; nothing when there is no such entry
};

ProgramEntry declaredProgram(const QString &archive) {
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &error);
    if (!zip) return {};
    ProgramEntry entry{true, std::nullopt};
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count && !entry.size; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS, &st) != 0 || !st.name) continue;
        const QString name = QString::fromUtf8(st.name).replace(u'\\', u'/');
        if (name.section(u'/', -1) != kProgramEntry) continue;
        zip_uint8_t opsys = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(zip, static_cast<zip_uint64_t>(i), 0, &opsys, &attributes) == 0 &&
            opsys == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) != 0 && ((attributes >> 16) & S_IFMT) != S_IFREG)
            continue;
        entry.size = (st.valid & ZIP_STAT_SIZE) ? static_cast<qint64>(st.size) : 0;
    }
    zip_discard(zip);
    return entry;
}

// Whether no run uses the work folder `name` any more: its process is gone. Another
// copy of the program (another series, another login) may be updating right now. A
// folder named without a process id comes from an older version of this program, whose
// run cannot be told: it goes once it has not changed for a day (a run changes its
// folder within minutes).
bool isStaleWorkFolder(const QString &name, const struct stat &st) {
    static const QRegularExpression withProcess(u'^' + QRegularExpression::escape(kWorkFolderPrefix) +
                                                QStringLiteral("(\\d{1,9})-[^-]+$"));
    const QRegularExpressionMatch match = withProcess.match(name);
    if (!match.hasMatch()) return st.st_mtime < ::time(nullptr) - 24 * 60 * 60;
    const pid_t pid = static_cast<pid_t>(match.captured(1).toInt());
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Work folders of earlier runs that were cut short: this user's only.
void removeStaleWorkFolders(const QString &tempDir) {
    const QStringList stale = QDir(tempDir).entryList({kWorkFolderPrefix + u'*'}, QDir::Dirs | QDir::Hidden |
                                                                                       QDir::NoDotAndDotDot);
    for (const QString &name : stale) {
        const QString path = tempDir + name;
        struct stat st {};
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
            st.st_uid != ::geteuid() || !isStaleWorkFolder(name, st))
            continue;
        QDir(path).removeRecursively();
    }
}

// Download, check, unpack and install of one offered row; true when installed.
bool installRow(const UpdateContext &context, const VersionRow &row) {
    // A private folder of this run: nothing another user planted, and nothing an
    // earlier run left, can be installed.
    QTemporaryDir work(context.tempDir + kWorkFolderPrefix + QString::number(::getpid()) + QStringLiteral("-XXXXXX"));
    if (!work.isValid()) {
        inform(kNotDownloaded + u'\r' + work.errorString());
        return false;
    }
    const QString archive = work.filePath(kUpdateArchive);
    QString reason;
    if (!DownloadFile(context.baseAddress + kUpdateArchive, archive, context.archiveLimits, &reason)) {
        inform(kNotDownloaded + u'\r' + reason);
        return false;
    }
    // The list and the archive come from the same server: the SHA-256 catches an
    // archive that does not match its list (damaged or replaced on its way, or on the
    // server alone), not whoever controls the server.
    if (!row.sha256.isEmpty() && sha256Of(archive).compare(row.sha256, Qt::CaseInsensitive) != 0) {
        inform(kCorrupt);
        return false;
    }
    const ProgramEntry declared = declaredProgram(archive);
    if (!declared.readable || !declared.size) {
        inform(declared.readable ? kNoProgram : kDamaged);
        return false;
    }
    const QString unpackDir = work.filePath(QStringLiteral("unpacked"));
    if (!QDir().mkdir(unpackDir)) {
        inform(kNotDownloaded + u'\r' + unpackDir);
        return false;
    }
    if (const auto room = lacksRoom(context, context.tempDir, std::min(*declared.size, context.maxProgramBytes),
                                    QStringLiteral("temporären Ordner"))) {
        inform(kNotInstalled + u'\r' + *room);
        return false;
    }
    try {
        CGUnzipFiles unzip;
        unzip.setZipFileName(archive);
        unzip.setExtractDir(unpackDir);
        unzip.setHonorDirectories(false);
        unzip.setOnlyName(kProgramEntry);
        unzip.setMaxEntryBytes(context.maxProgramBytes);
        const int result = unzip.Unzip();
        if (result == unzip_result::TooLarge) {
            inform(kNotInstalled + QStringLiteral("\rDie Programmdatei im Archiv ist größer als %1 MiB; das "
                                                  "Entpacken wurde abgebrochen.")
                                       .arg(mebibytes(context.maxProgramBytes)));
            return false;
        }
        // The program's data cannot be read to its end (a bad checksum, a broken stream).
        if (result == unzip_result::DataError || result == unzip_result::NoArchive) {
            inform(kDamaged);
            return false;
        }
        if (result != 0) ui().message(unzip.GetLastMessage(), MsgButtons::Ok, MsgIcon::None);
    } catch (const AppError &e) {
        ui().message(e.description, MsgButtons::Ok, MsgIcon::None);
        return false;
    }
    const QString unpacked = unpackDir + u'/' + kProgramEntry;
    if (!isRegularFile(unpacked)) return false;
    // Whatever the server claims, and with or without a hash: only a program that
    // runs here may take the installed one's place.
    const QString notRunnable = CheckRunnableProgram(unpacked, context.runningProgram, context.runCheckMs);
    if (!notRunnable.isEmpty()) {
        inform(kNotRunnable + u'\r' + notRunnable);
        return false;
    }
    if (const auto room = lacksRoom(context, QFileInfo(context.programFile).absolutePath(),
                                    QFileInfo(unpacked).size(), QStringLiteral("Programmordner"))) {
        inform(kNotInstalled + u'\r' + *room);
        return false;
    }
    const QString stamp = Now().toString(QStringLiteral("yyyyMMddHHmmss"));
    const InstallResult installed = InstallProgramFile(unpacked, context.programFile, stamp, context.installOps);
    if (!installed.installed) inform(kNotInstalled + u'\r' + installed.error);
    return installed.installed;
}

}  // namespace

UpdateContext DefaultUpdateContext() {
    UpdateContext context;
    context.baseAddress = qEnvironmentVariable("TARNIS_TEST_UPDATE_URL");
    if (context.baseAddress.isEmpty()) context.baseAddress = UpdateBaseAddress(QCoreApplication::arguments().mid(1));
    context.tempDir = GetTempDir();
    context.programFile = QCoreApplication::applicationFilePath();
    if (qEnvironmentVariableIsSet("TARNIS_PROGRAM_DIR")) context.programFile = ProgramFolder() + QStringLiteral("/tarnis");
    context.listLimits.maxBytes = qint64(1) << 20;
    context.listLimits.totalMs = 30000;
    context.archiveLimits.maxBytes = qint64(256) << 20;
    context.archiveLimits.totalMs = 10 * 60 * 1000;  // a trickle within the stall rule ends too
    context.archiveLimits.lowSpeedBytes = 1024;
    context.archiveLimits.lowSpeedSeconds = 30;
    return context;
}

QString UpdateBaseAddress(const QStringList &arguments) {
    if (arguments.join(u' ') == QLatin1String("TEST")) return kTestUpdateAddress;
    return QStringLiteral(TARNIS_UPDATE_URL);
}

QString GetTempDir() {
    QString dir = QDir::tempPath();
    if (!dir.endsWith(u'/')) dir += u'/';
    return dir;
}

bool IsUserAnAdmin(const QString &programFile) {
    if (::geteuid() == 0) return true;
    const QByteArray folder = QFile::encodeName(QFileInfo(programFile).absolutePath());
    return ::access(folder.constData(), W_OK | X_OK) == 0;
}

HttpAnswer OpenUrl(const QString &url, const HttpLimits &limits) { return HttpGet(url, limits); }

bool DownloadFile(const QString &url, const QString &fileName, const HttpLimits &limits, QString *reason) {
    return HttpDownload(url, fileName, limits, reason);
}

std::optional<VersionRow> ParseVersionRow(const QString &row) {
    const QStringList fields = row.split(u'#');
    if (fields.size() < 2 || !isProduct(fields.at(0))) return std::nullopt;
    VersionRow parsed;
    parsed.version = fields.at(1);
    // A CR LF row end leaves its CR here when there is no third field.
    if (parsed.version.endsWith(u'\r')) parsed.version.chop(1);
    // Fields from the third on are free text (a note on the version, say); only 64
    // hexadecimal digits there are taken as the archive's SHA-256.
    static const QRegularExpression hex64(QStringLiteral("^[0-9A-Fa-f]{64}$"));
    const QString third = fields.size() > 2 ? trimField(fields.at(2)) : QString();
    if (hex64.match(third).hasMatch()) parsed.sha256 = third;
    return parsed;
}

bool CheckForUpdate(const UpdateContext &context) {
    removeStaleWorkFolders(context.tempDir);
    const HttpAnswer answer = OpenUrl(context.baseAddress + kVersionList, context.listLimits);
    if (!answer.received) {
        inform(answer.timedOut ? kNoList + u'\r' + answer.error : kNoList);
        return false;
    }
    if (answer.status != 200) {
        inform(kListNotFound);
        return false;
    }
    const QString list = decodeCp1252(answer.body);
    if (list.isEmpty()) {
        inform(kNoList);
        return false;
    }
    if (list.contains(QLatin1String("404 Not Found"), Qt::CaseInsensitive)) {
        inform(kListNotFound);
        return false;
    }
    bool installed = false;
    for (const QString &line : list.split(u'\n')) {
        const auto row = ParseVersionRow(line);
        if (!row) continue;
        const QString question = QStringLiteral("Auf unserer Homepage steht die Version ") + row->version +
                                 QStringLiteral(" für Sie bereit!\rSoll diese Programm Version installiert werden?");
        if (ui().message(question, MsgButtons::YesNo, MsgIcon::Information) != MsgAnswer::Yes) continue;
        if (installRow(context, *row)) installed = true;
    }
    return installed;
}

void cmdCheckNewVersion_Click(const UpdateContext &context, bool isAdmin) {
    if (!isAdmin) {
        inform(QStringLiteral("Sie benötigen Admin-Brechtigung für diese Funktion!!!"));
        return;
    }
    if (CheckForUpdate(context))
        inform(QStringLiteral("Bitte starten Sie das Programm neu, damit die Änderungen aktiv werden!"));
}

}  // namespace tarnis
