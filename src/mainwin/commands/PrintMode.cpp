#include "mainwin/commands/PrintMode.h"

namespace tarnis {

namespace {
const QString kBand = QStringLiteral("PopDruckenModus");

// Checking one tool unchecks the other; unchecking leaves the other as it is,
// so both can end up unchecked (which means preview).
void toggle(MainWindowApi &window, const QString &tool, const QString &other) {
    if (window.toolChecked(kBand, tool)) {
        window.setToolChecked(kBand, tool, false);
    } else {
        window.setToolChecked(kBand, tool, true);
        window.setToolChecked(kBand, other, false);
    }
}
}  // namespace

void mnuVorschau(MainWindowApi &window) {
    toggle(window, QStringLiteral("mnuVorschau"), QStringLiteral("mnuDrucken"));
}

void mnuDrucken(MainWindowApi &window) {
    toggle(window, QStringLiteral("mnuDrucken"), QStringLiteral("mnuVorschau"));
}

}  // namespace tarnis
