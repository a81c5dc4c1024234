#include "mainwin/commands/CertificateCommands.h"

#include "core/dialogs/RaceSelection.h"
#include "platform/ui/Ui.h"
#include "print/Certificates.h"

namespace tarnis {

void mnuAlleTNinEW(MainWindowApi &window) { PU_PrintUrkundeAlle(window); }

void mnuSelTN(MainWindowApi &window) {
    // The selected row, also when a list has moved the current row to the top since.
    const int row = window.gridSelectedRow();
    if (row < 0) {
        ui().message(QStringLiteral("Bitte einen Teilnehmer auswählen!"), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    // The grid's columns: 0 Vorname, 1 Zuname, 2 Jahrgang, 3 Altersklasse, 4 Verein.
    PU_PrintUrkundenLaeufer(window, ParticipantKey{window.gridCell(row, 0), window.gridCell(row, 1),
                                                   window.gridCell(row, 4), window.gridCell(row, 2),
                                                   window.gridCell(row, 3)});
}

void mnuUrkundeAltersklasse(MainWindowApi &window) {
    // Every class in use, also those missing from the class order.
    const std::optional<QString> ageClass = SelectAgeClass(AgeClassesOfParticipants());
    if (!ageClass) return;
    window.setEdtTrigger(*ageClass);
    PU_PrintUrkundenGruppe(window, *ageClass);
}

}  // namespace tarnis
