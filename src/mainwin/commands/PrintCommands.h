#pragma once
// Printed lists and the printer commands of the main window.
#include "core/services/MainWindowApi.h"

namespace tarnis {

void mnuEWDruckerReport(MainWindowApi &window);       // 30071 final standings on the printer or preview
void mnuPrefsDruckerEinst(MainWindowApi &window);     // 40010 printer-selection dialog
void mnuPrefsDruckerPapEinst(MainWindowApi &window);  // 40020 page-setup dialog

}  // namespace tarnis
