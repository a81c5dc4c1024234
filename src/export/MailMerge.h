#pragma once
// The mail-merge file (Serienbrief): the final standings as fixed-width text.
#include <QString>

namespace tarnis {

// Asks for the file itself (a cancel ends silently), asks before replacing an
// existing one, and writes a heading line and one line per participant with a final
// total, classes in text order, places 1, 2, 2, 4 within a class. An existing file
// is replaced only by a complete new one. Reports its own failures.
void EI_Export();

// The query, exposed for the benchmark.
QString mailMergeQuery(int direction);

inline const QString kMailMergeEmpty =
    QStringLiteral("Keine Daten für den Export gefunden ...\rUrsache: Keine Teilnehmer in der Endwertung");

}  // namespace tarnis
