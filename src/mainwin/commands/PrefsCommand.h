#pragma once
// "Grundeinstellungen": the preferences dialog, then the load sequence again.
#include "core/services/MainWindowApi.h"

namespace tarnis {

void mnuVoreinstellungen(MainWindowApi &window);  // 40030

}  // namespace tarnis
