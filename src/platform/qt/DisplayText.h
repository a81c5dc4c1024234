#pragma once
// How the program's own windows show a text that may hold the original's line ends.
#include <QString>

namespace tarnis {

// A text as a message box shows it: CR (with or without LF) breaks the line.
QString displayText(QString text);

}  // namespace tarnis
