#include "mainwin/commands/CoreCommands.h"

#include "core/db/AklSortIndex.h"
#include "core/db/Globals.h"
#include "core/dialogs/RaceSelection.h"
#include "core/import/EI_Import.h"
#include "core/scoring/Scoring.h"
#include "platform/settings/Settings.h"

namespace tarnis {

void mnuDateiImport(MainWindowApi &window) {
    // A picker closed without "Weiter" is a cancel: importing into the race chosen the
    // time before would overwrite results the user did not point at. "Lauf_" alone
    // means no race was offered or chosen.
    if (!SelectRace()) return;
    const QString prefix = GetSetting(QStringLiteral("LastUser"), QStringLiteral("erfassen"), QString());
    if (prefix == QLatin1String("Lauf_")) return;
    if (EI_Import()) window.refreshGrid();
    // New age classes get their place in the print order, whatever the import did.
    DB_FillAKLSortIndex(db());
    window.UpdateTeilnehmerAnzahl();
}

void mnuBeenden(MainWindowApi &window) { window.unloadWindow(); }

void mnuSortAsc(MainWindowApi &window) {
    window.setRecordSource(QStringLiteral("select * from Teilnehmer order by Vorname asc, Zuname asc"));
}

void mnuSortDesc(MainWindowApi &window) {
    window.setRecordSource(QStringLiteral("select * from Teilnehmer order by Vorname desc, Zuname desc"));
}

void mnuCountWertung(MainWindowApi &window) {
    if (CountWertung()) window.refreshGrid();
}

}  // namespace tarnis
