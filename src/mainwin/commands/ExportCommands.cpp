// Owner: the text and HTML work.
#include "mainwin/commands/ExportCommands.h"

#include "export/FinalStandingsHtml.h"

namespace tarnis {

void mnuEWHTMLReport(MainWindowApi &) { CommandHtmlEndwertung(); }

}  // namespace tarnis
