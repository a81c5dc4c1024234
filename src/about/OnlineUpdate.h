#pragma once
// The online update: reads the version list from the update server, offers each row
// of this program, downloads and checks the archive, unpacks it in a private folder
// and installs the new program file beside the old one (the old kept as a backup).
#include "about/Http.h"
#include "about/ProgramInstaller.h"
#include "about/UnzipEngine.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace tarnis {

// The local test server, taken when the program's arguments are exactly "TEST".
inline const QString kTestUpdateAddress = QStringLiteral("http://127.0.0.1:8765/");
// This program's product number in the version list, and its files on the server
// and in the archive.
constexpr int kUpdateProduct = 6;
inline const QString kVersionList = QStringLiteral("versions.txt");
inline const QString kUpdateArchive = QStringLiteral("tarnis.zip");
inline const QString kProgramEntry = QStringLiteral("Tarnis");

// The folder of one update run below the temporary folder: "tarnis-update-", the
// process id of the run, "-" and six characters. One whose process is gone (a killed
// run left it) is removed when the next run starts.
inline const QString kWorkFolderPrefix = QStringLiteral("tarnis-update-");

struct UpdateContext {
    QString baseAddress;  // ends with "/"
    QString tempDir;      // ends with "/"
    QString programFile;  // the file an update replaces
    QString runningProgram = QStringLiteral("/proc/self/exe");  // what a new program must match
    HttpLimits listLimits;
    HttpLimits archiveLimits;
    InstallOps installOps;
    qint64 maxProgramBytes = kMaxEntryBytes;  // the unpacked program file at most
    int runCheckMs = 10000;                   // the new program's answer to "--version"
    // Bytes free for this user in a folder; -1 when unknown.
    std::function<qint64(const QString &folder)> freeBytes;
};

// The settings of the running program. TARNIS_TEST_UPDATE_URL replaces the server's
// address (for tests); with TARNIS_PROGRAM_DIR set, the file an update replaces is
// "tarnis" in that folder.
UpdateContext DefaultUpdateContext();
// The update server's address, or the test server's for the argument text "TEST"
// (the arguments after the program's name, joined by blanks).
QString UpdateBaseAddress(const QStringList &arguments);
// The user's temporary folder with a trailing separator.
QString GetTempDir();
// Whether this user may replace the program: root, or the program's folder is writable.
bool IsUserAnAdmin(const QString &programFile);

// The version list (read as CP1252) and the archive download.
HttpAnswer OpenUrl(const QString &url, const HttpLimits &limits);
bool DownloadFile(const QString &url, const QString &fileName, const HttpLimits &limits, QString *reason);

// One row of the version list that belongs to this program.
struct VersionRow {
    QString version;
    QString sha256;  // the archive's SHA-256 in hex; empty: none given
};
// Nothing for another product's row, a row without "#" or without a product number.
std::optional<VersionRow> ParseVersionRow(const QString &row);

// Shows all of its own messages; true when a new program file was installed.
bool CheckForUpdate(const UpdateContext &context);

// The about box's "neue Version?": the rights check, the update, the restart note.
void cmdCheckNewVersion_Click(const UpdateContext &context, bool isAdmin);

}  // namespace tarnis
