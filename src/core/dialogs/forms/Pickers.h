#pragma once
// The modal picker windows behind Ui::pickRace and Ui::pickAgeClass.
#include <QString>
#include <QStringList>
#include <optional>

namespace tarnis {

// Races 1..maxRace (none offered for 0 or less). Returns the chosen race, 0 for
// "Weiter" without a choice, nothing when the window was closed.
std::optional<int> showRacePicker(int maxRace);
// Returns the chosen class, "" for "&Ausgeben" without a choice, "&Abbrechen" or
// the close box.
std::optional<QString> showAgeClassPicker(const QStringList &classes);

}  // namespace tarnis
