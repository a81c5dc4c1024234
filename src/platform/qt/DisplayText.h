#pragma once
// How the program's own windows show a text whose lines end with CR or CR LF.
#include <QString>

namespace tarnis {

// A text as a message box shows it: CR (with or without LF) breaks the line.
QString displayText(QString text);

}  // namespace tarnis
