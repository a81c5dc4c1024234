#pragma once
// The club standings as one HTML page: clubs by their number of finishers.
#include <QString>

namespace tarnis {

// Writes one row per club with a participant whose final total is above 0, the
// club with the most first; places 1, 2, 3 in that order, never shared. Reports its
// own failures.
void HTML_ExportVereinswertung(const QString &path);

// Clubs as the series file compares them ("LG Nord" and "LG NORD" are one), equal
// counts by name.
QString clubStandingsQuery();

inline const QString kClubHtmlEmpty = QStringLiteral("Keine Vereine gefunden !!!");

}  // namespace tarnis
