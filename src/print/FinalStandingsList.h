#pragma once
// The printed final standings: every finisher, grouped by age class in the stored
// class order, with places per class.
#include "core/services/MainWindowApi.h"
#include "platform/engine/Database.h"
#include "platform/printing/PrintControl.h"

namespace tarnis {

// Prints or previews the list on the window's print-and-preview control; reports
// its own errors and its empty result.
void PL_PrintEndwertung(MainWindowApi &window);
void PL_PrintEndwertung(MainWindowApi &window, print::PrintControl &control);

// Where the columns both final-standings outputs read stand in a result of
// finalStandingsQuery(); a missing one raises the engine's 3265.
struct FinalStandingsColumns {
    std::size_t vorname, zuname, jahrgang, altersklasse, verein, endwertung;
    static FinalStandingsColumns of(const Recordset &rs);
};

// The query and texts the benchmark and the tests use too.
QString finalStandingsQuery(int direction);
inline const QString kFinalStandingsFormat = QStringLiteral("^1000|<3250|<3250|^1000|<5050|^1000;");
inline const QString kFinalStandingsEmpty =
    QStringLiteral("Keine Teilnehmer in der Endwertung\noder kein AKL Sortier Index !!!");

}  // namespace tarnis
