#pragma once
// The commands of the "&Datenbank" menu: repair, compaction, backup, restore and the
// four deletions, and the database dialog.
#include "core/services/MainWindowApi.h"

namespace tarnis {

void mnuReparieren(MainWindowApi &window);     // 20020
void mnuKomprimieren(MainWindowApi &window);   // 20030
void mnuSichern(MainWindowApi &window);        // 20041
void mnuRestaurieren(MainWindowApi &window);   // 20042
void mnuLaufLoeschen(MainWindowApi &window);   // 20011 "mnuLaufLöschen"
void mnuAKLLoeschen(MainWindowApi &window);    // 20014 "mnuAKLLöschen"
void mnuPKTloeschen(MainWindowApi &window);    // 20013
void mnuAllesLoeschen(MainWindowApi &window);  // 20012 "mnuAllesLöschen"
void mnuDBErstellen(MainWindowApi &window);    // 20043 "Datenbank erstellen"

}  // namespace tarnis
