#pragma once
// The printed lists of the grid, the club standings and the intermediate standings.
#include "core/services/MainWindowApi.h"

namespace tarnis {

void mnuGridDruckerReport(MainWindowApi &window);  // 30031 the grid as shown
void mnuVWDruckerReport(MainWindowApi &window);    // 30041 club standings
void mnuAKLDruckerReport(MainWindowApi &window);   // 30051 one age class, picked by the user
void mnuZWDruckerReport(MainWindowApi &window);    // 30061 intermediate standings of all classes

}  // namespace tarnis
