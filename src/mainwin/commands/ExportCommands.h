#pragma once
// The HTML pages, press lists and mail-merge file of the main window's menus.
#include "core/services/MainWindowApi.h"

#include <QString>

namespace tarnis {

void mnuSerExport(MainWindowApi &window);       // 10002 mail-merge file
void mnuVWHTMLReport(MainWindowApi &window);    // 30042 club standings as an HTML page
void mnuAKLHTMLReport(MainWindowApi &window);   // 30052 one age class as an HTML page
void mnuZWHTMLReport(MainWindowApi &window);    // 30062 intermediate standings as an HTML page
void mnuZwPresseliste(MainWindowApi &window);   // 30063 press list of the intermediate standings
void mnuEWHTMLReport(MainWindowApi &window);    // 30072 final standings as an HTML page
void mnuEwPresseliste(MainWindowApi &window);   // 30073 press list of the final standings
void mnuGridHTMLReport(MainWindowApi &window);  // 30090 the grid as an HTML page

// The file name the class page offers: the trimmed class, a "/" as "-", then ".html".
QString classPageFileName(const QString &ageClass);

}  // namespace tarnis
