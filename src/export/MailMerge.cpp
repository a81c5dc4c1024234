#include "export/MailMerge.h"

#include "core/db/Globals.h"
#include "core/db/PunkteRichtung.h"
#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "export/ExportFrame.h"
#include "export/ExportSettings.h"
#include "export/ExportTarget.h"
#include "export/TextFile.h"
#include "platform/text/Clock.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"
#include "print/IntermediateRows.h"
#include "print/ClassRanking.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace tarnis {
namespace {

// Only a report of "missing" means absent; any other failure (no access) counts as present.
bool pathPresent(const QString &path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) return true;
    return errno != ENOENT && errno != ENOTDIR;
}

bool overwriteAllowed(const QString &path) {
    if (!pathPresent(path)) return true;
    const QDateTime changed = QFileInfo(path).lastModified();
    const QString text = QStringLiteral("Es gibt schon ein File!!!\rSoll das File überschrieben werden?"
                                        "\r\rErstellungsdatum: ") +
                         (changed.isValid() ? formatDateTime(changed) : QString());
    return ui().message(text, MsgButtons::YesNo, MsgIcon::Critical) == MsgAnswer::Yes;
}

}  // namespace

QString mailMergeQuery(int direction) {
    return QStringLiteral("SELECT * FROM Teilnehmer WHERE Endwertung > 0"
                          " ORDER BY Altersklasse, Endwertung %1, Vorname, Zuname")
        .arg(direction == richtung::HoeherBesser ? QStringLiteral("DESC") : QStringLiteral("ASC"));
}

void EI_Export() {
    FileDialogRequest request;
    request.title = QStringLiteral("Serienbrief Datei ...");
    request.filter = QStringLiteral("Text (*.txt);;Alle Dateien (*)");
    request.fileName = QStringLiteral("Serienbrief.txt");
    const QString path = ui().saveFileName(request);
    if (textrules::Trim(path).isEmpty()) return;
    try {
        checkExportTarget(path);
        // The old file is kept until a complete new one replaces it.
        if (!overwriteAllowed(path)) return;
        const int direction = readPointsMode() ? DB_GetPunkteRichtung(db()) : richtung::Gleich;
        const Recordset rs = db().openRecordset(mailMergeQuery(direction));
        if (rs.recordCount() < 1) {
            ui().message(kMailMergeEmpty, MsgButtons::Ok, MsgIcon::Information);
            return;
        }

        TextFileWriter file(path);
        file.open();
        ShowWorking(rs.recordCount());
        // The last field is 5 wide here and 10 in the rows, as merge templates expect.
        file.writeLine(fixedField(QStringLiteral("Platz"), 5) + fixedField(QStringLiteral("Name"), 30) +
                       fixedField(QStringLiteral("Vorname"), 30) + fixedField(QStringLiteral("JG"), 4) +
                       fixedField(QStringLiteral("Verein"), 30) + fixedField(QStringLiteral("Altersklasse"), 20) +
                       fixedField(QStringLiteral("EW"), 5));
        ClassRanking ranking;
        for (const std::vector<Value> &row : rs.rows()) {
            StepWorking();
            const QString ageClass = row[3].textOrEmpty();
            const std::int64_t total = row[5].toInt64();
            const int place = ranking.next(ageClass, total).place;
            file.writeLine(fixedField(QString::number(place), 5) + fixedField(row[0].textOrEmpty(), 30) +
                           fixedField(row[1].textOrEmpty(), 30) + fixedField(textrules::Trim(row[2].textOrEmpty()), 4) +
                           fixedField(row[4].textOrEmpty(), 30) + fixedField(ageClass, 20) +
                           fixedField(QString::number(total), 10));
        }
        file.commit();
        HideWorking();
    } catch (...) {
        reportExportFailure(QString(), QStringLiteral("EI_Export"));
    }
}

}  // namespace tarnis
