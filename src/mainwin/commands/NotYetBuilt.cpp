#include "mainwin/commands/NotYetBuilt.h"

#include "platform/ui/Ui.h"

namespace tarnis {

void notYetBuilt(int toolId) {
    ui().message(QStringLiteral("Dieser Befehl ist noch nicht verfügbar (Befehl %1).").arg(toolId),
                 MsgButtons::Ok, MsgIcon::Information);
}

}  // namespace tarnis
