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

namespace tarnis {

namespace {

const QString kSection = QStringLiteral("LastUser");
constexpr int kHintLineLength = 200;

// Hourglass and note window go away however the import ends.
struct ImportWindows {
    bool noteShown = false;
    ImportWindows() { ui().setBusy(true); }
    void showNote() {
        ui().showImportNote();
        noteShown = true;
    }
    ~ImportWindows() {
        ui().setBusy(false);
        if (noteShown) ui().hideImportNote();
    }
};

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
                const ConversionShifts shifts = FindConversionShifts(file, problem);
                ui().message(ResultListMessage(problem, path, shifts), MsgButtons::Ok, MsgIcon::Exclamation);
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
            } catch (...) {
                remember();
            }
        }
    }

    if (!failure) {
        try {
            db().commitTrans();
            return true;
        } catch (...) {
            remember();
        }
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
