#pragma once
// The certificate commands of the main window.
#include "core/services/MainWindowApi.h"

namespace tarnis {

void mnuAlleTNinEW(MainWindowApi &window);           // 30081 every finisher
void mnuSelTN(MainWindowApi &window);                // 30082 the participant of the grid's current row
void mnuUrkundeAltersklasse(MainWindowApi &window);  // 30083 one age class, asked for

}  // namespace tarnis
