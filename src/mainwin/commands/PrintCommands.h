#pragma once
// Printed lists of the main window. Owner: the print work (fills in the bodies).
#include "mainwin/MainWindowApi.h"

namespace tarnis {

void mnuEWDruckerReport(MainWindowApi &window);  // 30071 final standings on the printer or preview

}  // namespace tarnis
