#include "mainwin/commands/ListCommands.h"

#include "core/dialogs/RaceSelection.h"
#include "platform/ui/Ui.h"
#include "print/ClubList.h"
#include "print/GridList.h"
#include "print/IntermediateList.h"

namespace tarnis {

void mnuGridDruckerReport(MainWindowApi &window) {
    if (window.gridRowCount() < 1) {
        ui().message(QStringLiteral("Keine Daten gefunden!"), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    PL_PrintGrid(window);
}

void mnuVWDruckerReport(MainWindowApi &window) { PL_PrintVereinswertung(window); }

void mnuAKLDruckerReport(MainWindowApi &window) {
    std::optional<QString> ageClass;
    try {
        ageClass = SelectAgeClass(AgeClassesBySortIndex());
    } catch (...) {
        ui().message(toAppError(std::current_exception()).description, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    if (ageClass) PL_PrintGruppe(window, *ageClass);
}

void mnuZWDruckerReport(MainWindowApi &window) { PL_PrintZwischenwertung(window); }

}  // namespace tarnis
