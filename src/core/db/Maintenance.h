#pragma once
// Compaction, repair and closing of the open series file (gDB at gDBPath).
#include <QString>

namespace tarnis {

// Name of the backup copy made before compaction: path + "_" + "dd.MM.yyyy".
QString CompactBackupName(const QString &dbPath);

// Both close gDB. On success gDB stays closed (the caller runs the load sequence);
// a failure is reported through the error dialog and gDB is opened again.
void DB_Compact();
void DB_Repair();

// Removes what writes killed half-way left beside the series file, each file by its
// whole name as the writer and the compaction build it: the temporaries of the series
// file (beside the file a link points to), of its day backups and of its compacted copy,
// and the unfinished compaction with its journal; this user's regular files only.
// Only for the one copy of the program that runs (no other can be writing them); never
// the series file itself or its journal, which SQLite needs to roll back. Never fails.
void RemoveLeftoverTemporaries(const QString &dbPath);

// Closes everything the engine holds open; never fails.
void DB_CloseAll();

}  // namespace tarnis
