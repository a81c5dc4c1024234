// Owner: the text and HTML work. Until its bodies land, each command says so.
#include "mainwin/commands/ExportCommands.h"

#include "mainwin/commands/NotYetBuilt.h"

namespace tarnis {

void mnuEWHTMLReport(MainWindowApi &) { notYetBuilt(30072); }

}  // namespace tarnis
