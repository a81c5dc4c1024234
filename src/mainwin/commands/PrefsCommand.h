#pragma once
// "Grundeinstellungen": the preferences dialog, then the load sequence again.
#include "mainwin/MainWindowApi.h"

namespace tarnis {

void mnuVoreinstellungen(MainWindowApi &window);  // 40030

}  // namespace tarnis
