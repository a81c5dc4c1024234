#pragma once
// The intermediate standings as HTML pages: all classes of the class order, or one
// class. Each row: name, first name, year, club, both totals and one cell per race.
#include <QString>

namespace tarnis {

// Every class of AKLSortIndex in its print order, one table per class, participants
// who ran fewer races than Listendruck/MinWTforPrinting left out. Reports its own
// failures; a race count above the races of the series file gets the hint to check
// the preferences.
void HTML_ExportZwischenwertung(const QString &path);

// Every participant of one class (as the picker returned it, untrimmed), race
// columns headed by their numbers. Reports its own failures.
void HTML_ExportGruppe(const QString &path, const QString &ageClass);

inline const QString kAuthorHint =
    QStringLiteral("Das ist wohl ein Problem beim drucken aufgetreten.\rBitte informieren Sie den Autor !");

}  // namespace tarnis
