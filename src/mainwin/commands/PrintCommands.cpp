// Owner: the print work. Until its bodies land, each command says so.
#include "mainwin/commands/PrintCommands.h"

#include "mainwin/commands/NotYetBuilt.h"

namespace tarnis {

void mnuEWDruckerReport(MainWindowApi &) { notYetBuilt(30071); }

}  // namespace tarnis
