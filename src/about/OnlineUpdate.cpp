#include "about/OnlineUpdate.h"

#include "about/CGUnzipFiles.h"
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

#include <sys/stat.h>
#include <unistd.h>

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

// Download, check, unpack and install of one offered row; true when installed.
bool installRow(const UpdateContext &context, const VersionRow &row) {
    static const QRegularExpression hex64(QStringLiteral("^[0-9A-Fa-f]{64}$"));
    if (!row.sha256.isEmpty() && !hex64.match(row.sha256).hasMatch()) {
        inform(kCorrupt);
        return false;
    }
    // A private folder of this run: nothing another user planted, and nothing an
    // earlier run left, can be installed.
    QTemporaryDir work(context.tempDir + QStringLiteral("tarnis-update-XXXXXX"));
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
    if (!row.sha256.isEmpty() && sha256Of(archive).compare(row.sha256, Qt::CaseInsensitive) != 0) {
        inform(kCorrupt);
        return false;
    }
    const QString unpackDir = work.filePath(QStringLiteral("unpacked"));
    if (!QDir().mkdir(unpackDir)) {
        inform(kNotDownloaded + u'\r' + unpackDir);
        return false;
    }
    try {
        CGUnzipFiles unzip;
        unzip.setZipFileName(archive);
        unzip.setExtractDir(unpackDir);
        unzip.setHonorDirectories(false);
        if (unzip.Unzip() != 0) ui().message(unzip.GetLastMessage(), MsgButtons::Ok, MsgIcon::None);
    } catch (const AppError &e) {
        ui().message(e.description, MsgButtons::Ok, MsgIcon::None);
        return false;
    }
    const QString unpacked = unpackDir + u'/' + kProgramEntry;
    if (!isRegularFile(unpacked)) return false;
    const QString stamp = Now().toString(QStringLiteral("yyyyMMddHHmmss"));
    const InstallResult installed = InstallProgramFile(unpacked, context.programFile, stamp, context.installOps);
    if (!installed.installed) inform(kNotInstalled + u'\r' + installed.error);
    return installed.installed;
}

}  // namespace

UpdateContext DefaultUpdateContext() {
    UpdateContext context;
    context.baseAddress = UpdateBaseAddress(QCoreApplication::arguments().mid(1));
    context.tempDir = GetTempDir();
    context.programFile = QCoreApplication::applicationFilePath();
    context.listLimits.maxBytes = qint64(1) << 20;
    context.archiveLimits.maxBytes = qint64(256) << 20;
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
    if (fields.size() > 2) parsed.sha256 = trimField(fields.at(2));
    return parsed;
}

bool CheckForUpdate(const UpdateContext &context) {
    const HttpAnswer answer = OpenUrl(context.baseAddress + kVersionList, context.listLimits);
    if (!answer.received) {
        inform(kNoList);
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
