#pragma once
// HTML reports of the main window. Owner: the text and HTML work (fills in the bodies).
#include "mainwin/MainWindowApi.h"

namespace tarnis {

void mnuEWHTMLReport(MainWindowApi &window);  // 30072 final standings as an HTML page

}  // namespace tarnis
