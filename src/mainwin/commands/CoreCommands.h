#pragma once
// Import, scoring, exit and the two name sorts of the main window.
// Owner: the import and scoring work (fills in the bodies).
#include "core/services/MainWindowApi.h"

namespace tarnis {

void mnuDateiImport(MainWindowApi &window);   // 10001
void mnuBeenden(MainWindowApi &window);       // 10003
void mnuSortAsc(MainWindowApi &window);       // 1
void mnuSortDesc(MainWindowApi &window);      // 2
void mnuCountWertung(MainWindowApi &window);  // 3 "neu werten"

}  // namespace tarnis
