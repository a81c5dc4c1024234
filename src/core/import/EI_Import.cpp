#include "core/import/EI_Import.h"

#include "core/db/Globals.h"
#include "core/import/Punkteverteilung.h"
#include "core/import/ResultImport.h"
#include "core/import/ResultListCheck.h"
#include "core/services/ShowError.h"
#include "platform/settings/Settings.h"
#include "platform/text/OutputText.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

#include <QFile>
#include <optional>
#include <utility>

namespace tarnis {

namespace {

const QString kSection = QStringLiteral("LastUser");
constexpr int kHintLineLength = 200;

// Hourglass and note window go away however the import ends.
struct ImportWindows {
    bool noteShown = false;
    bool open = true;
    ImportWindows() { ui().setBusy(true); }
    void showNote() {
        ui().showImportNote();
        noteShown = true;
    }
    void close() {
        if (!std::exchange(open, false)) return;
        ui().setBusy(false);
        if (noteShown) ui().hideImportNote();
    }
    ~ImportWindows() { close(); }
};

// After a list that ended in NULs: how many result lines came in and the last of them, so
// that a damaged copy is seen at once.
void tellNulTail(const QString &path, const ImportedLines &lines) {
    QString imported;
    if (lines.count == 0) imported = QStringLiteral("Importiert wurde keine Ergebniszeile.");
    else
        imported = QStringLiteral("Importiert %1, die letzte in Zeile %2:\n%3")
                       .arg(lines.count == 1 ? QStringLiteral("wurde 1 Ergebniszeile")
                                             : QStringLiteral("wurden %1 Ergebniszeilen").arg(lines.count),
                            QString::number(lines.lastNumber), textrules::Left(lines.last, kHintLineLength));
    ui().message(QStringLiteral("Die Ergebnisliste \"%1\" endet mit NUL-Bytes: sie kann aufgefüllt sein, wie manche "
                                "Programme Dateien schreiben, oder eine beschädigte Kopie, der Zeilen fehlen.\n%2\n"
                                "Fehlen danach Läufer der Liste, importieren Sie den Lauf aus einer heilen Kopie neu.")
                     .arg(path, imported),
                 MsgButtons::Ok, MsgIcon::Information);
}

AppError fileError(const QFile &file) {
    if (!file.exists())
        return AppError(53, kRuntimeSource, QStringLiteral("Datei nicht gefunden: %1").arg(file.fileName()));
    return AppError(75, kRuntimeSource,
                    QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: %1").arg(file.errorString()));
}

}  // namespace

bool EI_Import() {
    const bool placeIsPoints =
        textrules::readBool(GetSetting(kSection, QStringLiteral("PlPuZuord"), QStringLiteral("False")), false);

    FileDialogRequest request;
    request.title = QStringLiteral("Import Datei auswählen ...");
    request.filter = QStringLiteral("Alle Dateien (*)");
    const QString path = ui().openFileName(request);
    if (textrules::Trim(path).isEmpty()) return false;

    // A list in the wrong code page or without a single result is told before anything
    // is asked or written; a file that cannot be read is reported by the import itself.
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const ResultListProblem problem = CheckResultList(file);
            if (problem != ResultListProblem::None) {
                const qint64 textEnd = ConversionTextEnd(file, problem);
                const ListCodePage codePage = FindListCodePage(file, problem);
                const ConversionShifts shifts = problem == ResultListProblem::Cp1252
                                                    ? FindCp1252Shifts(file, textEnd)
                                                    : FindConversionShifts(file, problem, textEnd);
                QStringList details{listCodePageDetails(codePage), conversionShiftsDetails(shifts)};
                details.removeAll(QString());
                ui().message(ResultListMessage(problem, path, shifts, textEnd, codePage), MsgButtons::Ok,
                             MsgIcon::Exclamation, QString(), details.join(QStringLiteral("\n\n")));
                return false;
            }
        }
    }

    ImportWindows windows;
    const QString prefix = GetSetting(kSection, QStringLiteral("erfassen"), QString());

    // The first failure is kept; everything after it is skipped and rolled back.
    std::optional<ImportFailure> failure;
    auto remember = [&failure] {
        if (!failure) failure = ImportFailure{toAppError(std::current_exception()), 0, QString()};
    };

    RaceColumns race;
    try {
        race = raceColumns(db(), prefix);
        if (racePointsSum(db(), race) > 0) {
            // The question is answered with the ordinary pointer; the hourglass is the main window's.
            ui().setBusy(false);
            const MsgAnswer answer = ui().message(
                QStringLiteral("Lauf enthält bereits Daten -\nDaten überschreiben?"),
                MsgButtons::YesNo, MsgIcon::Question);
            if (answer != MsgAnswer::Yes) return false;
            ui().setBusy(true);
        }
    } catch (...) {
        remember();
    }

    const QString century = GetSettingOrDefault(kSection, QStringLiteral("Default JH"), QStringLiteral("19"));
    windows.showNote();

    PointsTable table;
    std::int32_t defaultPoints = 0;
    bool inTransaction = false;
    try {
        EI_LoadPunkteverteilung(table, defaultPoints);
        db().beginTrans();
        inTransaction = true;
    } catch (...) {
        remember();
    }

    std::optional<ImportedLines> imported;  // of a list that ended in NULs
    if (!failure) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            failure = ImportFailure{fileError(file), 0, QString()};
        } else {
            try {
                auto points = [&](std::int32_t place) {
                    return placeIsPoints ? place : EI_GetPunkte(place, table, defaultPoints);
                };
                ResultImporter importer(db(), race, century, points);
                failure = importer.run(file, [](int line) { ui().setImportNoteLine(line); });
                if (importer.imported().endedInNuls) imported = importer.imported();
            } catch (...) {
                remember();
            }
        }
    }

    if (!failure) {
        try {
            db().commitTrans();
        } catch (...) {
            remember();
        }
    }
    if (!failure) {
        windows.close();
        if (imported) tellNulTail(path, *imported);
        return true;
    }
    if (inTransaction) {
        try {
            db().rollback();
        } catch (...) {
            // The original error is the one worth reporting.
        }
    }
    // The line is data: a control character in it must not break the dialog or the report,
    // and a line of any length must not fill the dialog.
    ShowError(failure->error,
              QStringLiteral("Fehler beim Import ! Zeile:\r") + textrules::Left(blankControls(failure->lineText), kHintLineLength),
              QString());
    return true;
}

}  // namespace tarnis
