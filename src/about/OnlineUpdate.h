#pragma once
// The online update: reads the version list from the update server, offers each row
// of this program, downloads and checks the archive, unpacks it in a private folder
// and installs the new program file beside the old one (the old kept as a backup).
#include "about/Http.h"
#include "about/ProgramInstaller.h"

#include <QString>
#include <QStringList>
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

struct UpdateContext {
    QString baseAddress;  // ends with "/"
    QString tempDir;      // ends with "/"
    QString programFile;  // the running program
    HttpLimits listLimits;
    HttpLimits archiveLimits;
    InstallOps installOps;
};

// The settings of the running program.
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
    QString sha256;  // empty: none given
};
// Nothing for another product's row, a row without "#" or without a product number.
std::optional<VersionRow> ParseVersionRow(const QString &row);

// Shows all of its own messages; true when a new program file was installed.
bool CheckForUpdate(const UpdateContext &context);

// The about box's "neue Version?": the rights check, the update, the restart note.
void cmdCheckNewVersion_Click(const UpdateContext &context, bool isAdmin);

}  // namespace tarnis
