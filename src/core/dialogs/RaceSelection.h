#pragma once
// The logic around the race and age-class pickers: what they offer, what an answer
// stores. Callers reach the windows only through ui().pickRace / ui().pickAgeClass.
#include <QString>
#include <QStringList>
#include <optional>

namespace tarnis {

// LastUser/MaxLaufErf as the race picker reads it: 0 when missing or no whole number,
// at most kMaxRaces.
int RacePickerMaximum();

// Asks for a race. "Weiter" stores LastUser/erfassen = "Lauf_" + n and returns n;
// "Weiter" without a choice stores "Lauf_" and returns nothing; closing the window
// stores nothing and returns nothing, so the caller stops.
std::optional<int> SelectRace();

// The classes offered by the one-class list and HTML page: AKLSortIndex by Index,
// then class text.
QStringList AgeClassesBySortIndex();
// The classes offered by the certificates of one class: those used in Teilnehmer.
QStringList AgeClassesOfParticipants();

// Asks for one of the classes; nothing when the answer is empty after trimming
// (cancelled, closed, or nothing selected). The answer is returned untrimmed.
std::optional<QString> SelectAgeClass(const QStringList &classes);
std::optional<QString> SelectAgeClass();  // AgeClassesBySortIndex()

}  // namespace tarnis
