#pragma once
// Commands whose procedures are not built yet: the dispatcher routes them here.
namespace tarnis {

// Shows "Dieser Befehl ist noch nicht verfügbar (Befehl N)." (information) for the tool ID.
void notYetBuilt(int toolId);

}  // namespace tarnis
