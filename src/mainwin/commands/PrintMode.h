#pragma once
// The print-mode pair "Vorschau" / "Drucken" of the print menu. "Drucken" checked
// means print directly; anything else shows the preview.
#include "core/services/MainWindowApi.h"

namespace tarnis {

void mnuVorschau(MainWindowApi &window);  // 30011
void mnuDrucken(MainWindowApi &window);   // 30012

}  // namespace tarnis
