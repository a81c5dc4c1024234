#include "core/services/ShowError.h"

#include "core/services/Progress.h"
#include "platform/text/CodePage.h"

#include "platform/files/SafeFile.h"

namespace tarnis {

void ShowError(const AppError &error, const QString &hint, const QString &procedure) {
    HideWorking();
    // The failing operation may have left the hourglass on.
    SetBusyPointer(false);
    const ErrorChoice choice = ui().errorDialog(ErrorReport{error, hint, procedure});
    if (choice == ErrorChoice::EndProgram) ui().endProgram();
}

void SetBusyPointer(bool busy) { ui().setBusy(busy); }

QString programVersion() {
    return QStringLiteral("%1.%2.%3")
        .arg(TARNIS_VERSION_MAJOR)
        .arg(TARNIS_VERSION_MINOR)
        .arg(TARNIS_VERSION_PATCH);
}

QString errorText(const AppError &error) {
    return QStringLiteral("Fehler Nr. : ") + QString::number(error.number) +
           QStringLiteral(" ist aufgetreten.\r\rHerkunft   : ") + error.source +
           QStringLiteral("\rHinweis    : ") + error.description;
}

QString errorReportText(const ErrorReport &report) {
    return QStringLiteral("Version:  ") + programVersion() + QStringLiteral("\r\n") + QStringLiteral("Funktion: ") +
           report.procedure + QStringLiteral("\r\n") + errorText(report.error) + QStringLiteral("\r\n") +
           QStringLiteral("Zusatz:   ") + report.hint + QStringLiteral("\r\n");
}

QByteArray errorReportBytes(const ErrorReport &report) { return encodeCp1252(errorReportText(report)); }

bool writeErrorReport(const QString &path, const ErrorReport &report) {
    return writeFileSafely(path, errorReportBytes(report));
}

void SaveErrorReport(const ErrorReport &report) {
    try {
        FileDialogRequest request;
        request.filter = kErrorReportFilter;
        const QString name = ui().saveFileName(request);
        // A report that could not be written is told like a cancelled one, never as saved.
        if (!name.isEmpty() && writeErrorReport(name, report)) {
            ui().message(QStringLiteral("Datei: ") + name +
                             QStringLiteral(" erfolgreich angelegt.\r\rBitte senden Sie die Datei an den Vertrieb!"),
                         MsgButtons::Ok, MsgIcon::Information);
            return;
        }
        ui().message(QStringLiteral("Datei konnte nicht geseichert werden!"), MsgButtons::Ok,
                     MsgIcon::Critical);
    } catch (...) {
        // the dialog stays usable whatever happened here
    }
}

}  // namespace tarnis
