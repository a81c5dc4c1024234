#pragma once
// The logic of the database selection and creation dialog.
#include <QString>
#include <optional>

namespace tarnis {

// The number of races a race-count text asks for: its leading number rounded half
// to even, when that is between 1 and 50; nothing otherwise.
std::optional<int> RaceCountFromText(const QString &text);

// Where "Datenbank erstellen" puts a new file when no path is given: "Tarnis.mdb"
// in the per-user data folder.
QString DefaultDatabasePath();

// "Datenbank erstellen", first step: an empty (all-blank) path becomes the default.
QString DatabasePathOrDefault(const QString &pathText);
// Then: checks the race count (message when outside 1..50) and creates the file.
void GenerateDatabase(const QString &pathText, const QString &raceCountText);

// "&Fertig": stores both texts as typed.
void StoreDatabaseChoice(const QString &pathText, const QString &raceCountText);

// The file dialog of the path button; returns the field's new text (unchanged on cancel).
QString ChooseDatabaseFile(const QString &pathText);

}  // namespace tarnis
