#pragma once
// What the splash and the about box show of the program itself.
#include <QString>

namespace tarnis {

// "Version " and major.minor.revision, e.g. "Version 3.0.36".
QString ProgramVersionText();
// The product name of the program's version information.
QString ProgramProductName();
// The time stamp of the running program file, "dd.MM.yyyy hh:mm:ss".
QString ProgramFileTimeText();
// The legal warning of the about box: six lines separated by CR.
QString ProgramDisclaimer();

}  // namespace tarnis
