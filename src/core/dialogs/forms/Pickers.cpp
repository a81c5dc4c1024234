#include "core/dialogs/forms/Pickers.h"

#include "core/dialogs/forms/frmAlterklassen.h"
#include "core/dialogs/forms/frmLaufauswahl.h"

#include <QApplication>

namespace tarnis {

std::optional<int> showRacePicker(int maxRace) {
    frmLaufauswahl dialog(maxRace, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.chosenRace();
}

std::optional<QString> showAgeClassPicker(const QStringList &classes) {
    frmAlterklassen dialog(classes, QApplication::activeWindow());
    dialog.exec();
    // The close box counts as "&Abbrechen": a closed picker never repeats an earlier answer.
    return dialog.answer();
}

}  // namespace tarnis
