#include "core/dialogs/GetDatabase.h"

#include "core/db/Create.h"
#include "core/db/Schema.h"
#include "platform/files/ProgramFolder.h"
#include "platform/settings/Settings.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

namespace tarnis {

std::optional<int> RaceCountFromText(const QString &text) {
    // A number beyond any range ("1e400") is out of range like 51, not an error.
    const double value = textrules::ValUnbounded(text);
    // The range check on the value itself keeps huge numbers away from the conversion.
    if (!(value > 0 && value <= kMaxRaces)) return std::nullopt;
    const int races = textrules::CLng(value);
    // A count that rounds to no race would create a series that can hold no result.
    if (races < 1) return std::nullopt;
    return races;
}

QString DefaultDatabasePath() { return UserDataFilePath(QStringLiteral("Tarnis.mdb")); }

QString DatabasePathOrDefault(const QString &pathText) {
    return textrules::Trim(pathText).isEmpty() ? DefaultDatabasePath() : pathText;
}

void GenerateDatabase(const QString &pathText, const QString &raceCountText) {
    const std::optional<int> races = RaceCountFromText(raceCountText);
    if (!races) {
        ui().message(QStringLiteral("Anzahl der Läufe zwischen 1 und 50 wählen !!!"), MsgButtons::Ok,
                     MsgIcon::Information);
        return;
    }
    DB_CreateDatabase(pathText, *races);
}

void StoreDatabaseChoice(const QString &pathText, const QString &raceCountText) {
    SaveSetting(QStringLiteral("LastUser"), QStringLiteral("MaxLaufErf"), raceCountText);
    SaveSetting(QStringLiteral("LastUser"), QStringLiteral("Datenbank"), pathText);
}

QString ChooseDatabaseFile(const QString &pathText) {
    FileDialogRequest request;
    request.filter = QStringLiteral("Access (*.mdb)");
    request.fileName = pathText;
    const QString chosen = ui().saveFileName(request);
    return chosen.isEmpty() ? pathText : chosen;
}

}  // namespace tarnis
