#pragma once
// The printed club standings: every club with a participant in the final standings,
// the club with the most of them first.
#include "core/services/MainWindowApi.h"
#include "platform/printing/PrintControl.h"

namespace tarnis {

// Print or preview on the window's control; reports its own errors and its empty
// result. The orientation follows the certificate settings (portrait by default).
void PL_PrintVereinswertung(MainWindowApi &window);
void PL_PrintVereinswertung(MainWindowApi &window, print::PrintControl &control);

// Clubs as the series file groups them, equal counts by club.
inline const QString kClubQuery = QStringLiteral(
    "SELECT Verein, COUNT(*) FROM Teilnehmer WHERE Endwertung > 0 GROUP BY Verein ORDER BY COUNT(*) DESC, Verein");
inline const QString kClubListEmpty = QStringLiteral(
    "Keine Vereine gefunden!!!\rEs werden nur Vereine berücksichtigt,\rdie einen Teilnehmer in der Endwertung haben!");
inline const QString kClubListHint = QStringLiteral("Fehler beim erstellen der Vereinswertung");

}  // namespace tarnis
