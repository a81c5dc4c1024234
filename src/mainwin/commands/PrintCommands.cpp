#include "mainwin/commands/PrintCommands.h"

#include "platform/printing/PrintControl.h"
#include "print/FinalStandingsList.h"

namespace tarnis {

void mnuEWDruckerReport(MainWindowApi &window) { PL_PrintEndwertung(window); }

void mnuPrefsDruckerEinst(MainWindowApi &) { print::printControl().printerDialog(); }

void mnuPrefsDruckerPapEinst(MainWindowApi &) { print::printControl().pageSetupDialog(); }

}  // namespace tarnis
