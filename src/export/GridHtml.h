#pragma once
// The participant grid as one HTML page: the columns it shows, its rows in its order.
#include "core/services/MainWindowApi.h"

#include <QString>

namespace tarnis {

// Writes the grid's rows as the "HTML Listen" filter (Alle TN, Endwertung TN,
// Zwischenwertung TN) lets them through. Reports its own failures; a declined
// overwrite question or a file that cannot be created ends it without a message.
void HTML_ExportGrid(const QString &path, MainWindowApi &grid);

inline const QString kGridHtmlEmpty = QStringLiteral("Keine Daten für die Gesamteinlaufliste gefunden !!!");

}  // namespace tarnis
