#include "platform/printing/PrintControl.h"

namespace tarnis::print {

namespace {
PrintControl *gControl = nullptr;
}

PrintControl &printControl() {
    if (!gControl)
        throw AppError(91, QStringLiteral("printControl"),
                       QStringLiteral("Die Druckvorschau ist nicht verfügbar."));
    return *gControl;
}

bool hasPrintControl() { return gControl != nullptr; }

void setPrintControl(PrintControl *control) { gControl = control; }

QString pageLabel(int page, int count) {
    return QStringLiteral("Seite %1 von %2").arg(page).arg(count);
}

}  // namespace tarnis::print
