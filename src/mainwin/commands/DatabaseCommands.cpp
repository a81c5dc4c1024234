#include "mainwin/commands/DatabaseCommands.h"

#include "core/db/Globals.h"
#include "core/db/Maintenance.h"
#include "core/dialogs/RaceSelection.h"
#include "core/services/ShowError.h"
#include "platform/files/FileUtils.h"
#include "platform/settings/Settings.h"
#include "platform/text/Clock.h"
#include "platform/ui/Ui.h"

#include <QDir>
#include <algorithm>

namespace tarnis {

namespace {

const QString kSeriesFilter = QStringLiteral("Microsoft Access (*.mdb)");

bool confirmed(const QString &question) {
    return ui().message(question, MsgButtons::YesNo, MsgIcon::Critical) == MsgAnswer::Yes;
}

// Backup and restore show an error as its description alone.
void showDescription(std::exception_ptr error) {
    try {
        ui().message(toAppError(error).description, MsgButtons::Ok, MsgIcon::Critical);
    } catch (...) {
    }
}

// Copies one file over another with the database closed. Once it is closed the load
// sequence runs whatever happened, so the program is never left without its database;
// the copy itself never leaves a half-written target.
void copyWhileClosed(MainWindowApi &window, const QString &source, const QString &target, bool rebuildGrid) {
    DB_CloseAll();
    ui().setBusy(true);
    const bool copied = CopyFileOver(source, target, true);
    ui().setBusy(false);
    if (!copied)
        ui().message(QStringLiteral("Die Datei \"%1\" konnte nicht nach \"%2\" kopiert werden.")
                         .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(target)),
                     MsgButtons::Ok, MsgIcon::Critical);
    // The file dialog may have moved the current folder; a folder that is gone does no harm.
    QDir::setCurrent(gCurDir);
    try {
        window.Form_Load();
        // Another file may hold another number of races; without an open file there is nothing to set up.
        if (rebuildGrid && gDB && gDB->isOpen()) window.SetupGrid();
    } catch (...) {
        showDescription(std::current_exception());
    }
}

// A restore must not replace the series with a file that is none.
void requireSeriesFile(const QString &path) {
    const auto candidate = Database::open(path);
    if (!candidate->tableExists(QStringLiteral("Teilnehmer")))
        throw AppError(err::TableNotFound, kRuntimeSource,
                       QStringLiteral("Die Datei \"%1\" ist keine Datenbank der Serienwertung.")
                           .arg(QDir::toNativeSeparators(path)));
}

// The exact names of the points and time columns of a race in Teilnehmer. The prefix
// comes from the settings: anything that is not a race of this file is refused here.
QStringList raceColumns(Database &database, const QString &prefix) {
    const QStringList columns = database.tableColumns(QStringLiteral("Teilnehmer"));
    QStringList found;
    for (const char *suffix : {"_Punkte", "_Zeit"}) {
        const QString wanted = prefix + QLatin1String(suffix);
        const auto it = std::find_if(columns.begin(), columns.end(), [&](const QString &c) {
            return c.compare(wanted, Qt::CaseInsensitive) == 0;
        });
        if (prefix.isEmpty() || it == columns.end())
            throw AppError(err::ItemNotFound, kRuntimeSource,
                           QStringLiteral("Element '%1' wurde in dieser Auflistung nicht gefunden.").arg(wanted));
        found << *it;
    }
    return found;
}

void clearTable(const char *table) { db().execute(QStringLiteral("DELETE FROM ") + QLatin1String(table)); }

}  // namespace

void mnuReparieren(MainWindowApi &window) {
    // DB_Repair reports its own failure and opens the file again; the load follows either way.
    DB_Repair();
    window.Form_Load();
}

void mnuKomprimieren(MainWindowApi &window) {
    DB_Compact();
    window.Form_Load();
}

void mnuSichern(MainWindowApi &window) {
    QString file;
    try {
        file = ui().saveFileName({QStringLiteral("Pfad für Sicherung ..."), kSeriesFilter,
                                  QStringLiteral("Teilnehmer_") + formatDate(Today()) + QStringLiteral(".mdb"),
                                  QString()});
    } catch (...) {
        showDescription(std::current_exception());
        return;
    }
    if (file.isEmpty()) return;
    copyWhileClosed(window, gDBPath, file, false);
}

void mnuRestaurieren(MainWindowApi &window) {
    QString file;
    try {
        file = ui().openFileName({QStringLiteral("Datei für restauration ..."), kSeriesFilter, QString(), QString()});
        if (file.isEmpty()) return;
        requireSeriesFile(file);
        if (!confirmed(QStringLiteral("Soll die aktuelle Datenbank\rwirklich überschrieben werden?"))) return;
    } catch (...) {
        showDescription(std::current_exception());
        return;
    }
    copyWhileClosed(window, file, gDBPath, true);
}

void mnuLaufLoeschen(MainWindowApi &window) {
    // Closing the picker cancels: the deletion must never hit the race chosen the time before.
    if (!SelectRace()) return;
    const QString prefix = GetSetting(QStringLiteral("LastUser"), QStringLiteral("erfassen"), QString());
    if (!confirmed(QStringLiteral("Lauf wirklich löschen?"))) return;
    Database &database = db();
    const QStringList columns = raceColumns(database, prefix);
    // Venue, date and the totals stay as they are.
    database.execute(QStringLiteral("UPDATE Teilnehmer SET %1 = 0, %2 = ?1")
                         .arg(quoteIdentifier(columns[0]), quoteIdentifier(columns[1])),
                     {Value(QStringLiteral(" "))});
    window.refreshGrid();
}

void mnuAKLLoeschen(MainWindowApi &window) {
    if (!confirmed(QStringLiteral("Sortier-Index wirklich löschen?"))) return;
    clearTable("AKLSortIndex");
    window.refreshGrid();
}

void mnuPKTloeschen(MainWindowApi &window) {
    if (!confirmed(QStringLiteral("Punkteverteilung wirklich löschen?"))) return;
    clearTable("Punkteverteilung");
    window.refreshGrid();
}

void mnuAllesLoeschen(MainWindowApi &window) {
    try {
        if (!confirmed(QStringLiteral("Datenbestand wirklich löschen?"))) return;
        // Each table on its own: a failure leaves the tables after it as they were.
        clearTable("Teilnehmer");
        clearTable("AKLSortIndex");
        clearTable("Punkteverteilung");
        window.refreshGrid();
        window.UpdateTeilnehmerAnzahl();
    } catch (...) {
        ShowError(toAppError(std::current_exception()), QString(), QStringLiteral("mnuAllesLöschen"));
    }
}

void mnuDBErstellen(MainWindowApi &window) {
    if (!window.showDatabaseDialog()) return;
    // A file created or chosen there is opened at once: otherwise the window would go
    // on with the old file while the settings (the race count) already describe the new.
    if (GetSetting(QStringLiteral("LastUser"), QStringLiteral("Datenbank"), QString()) == gDBPath) return;
    window.Form_Load();
}

}  // namespace tarnis
