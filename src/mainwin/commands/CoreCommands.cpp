// Owner: the import and scoring work. Until its bodies land, each command says so.
#include "mainwin/commands/CoreCommands.h"

#include "mainwin/commands/NotYetBuilt.h"

namespace tarnis {

void mnuDateiImport(MainWindowApi &) { notYetBuilt(10001); }
void mnuBeenden(MainWindowApi &window) { window.unloadWindow(); }
void mnuSortAsc(MainWindowApi &) { notYetBuilt(1); }
void mnuSortDesc(MainWindowApi &) { notYetBuilt(2); }
void mnuCountWertung(MainWindowApi &) { notYetBuilt(3); }

}  // namespace tarnis
