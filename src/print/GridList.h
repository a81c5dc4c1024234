#pragma once
// The printed grid: the participants as the main window's grid holds them now, in
// its order and with its club filter.
#include "core/services/MainWindowApi.h"
#include "platform/printing/PrintControl.h"

namespace tarnis {

// Print or preview on the window's control; then the grid stands on its first row and
// is redrawn, also after an error, its rows, order and selection unchanged. Reports
// its own errors; the caller makes the empty test.
void PL_PrintGrid(MainWindowApi &window);
void PL_PrintGrid(MainWindowApi &window, print::PrintControl &control);

}  // namespace tarnis
