#include "core/db/Create.h"

#include "core/db/Schema.h"
#include "core/services/ShowError.h"
#include "platform/engine/Database.h"
#include "platform/ui/Ui.h"

namespace tarnis {

void CreateSeriesFile(const QString &path, int races) {
    std::unique_ptr<Database> newDb = Database::create(path);
    newDb->execute(AKLSortIndexDdl());
    newDb->execute(PunkteverteilungDdl());
    newDb->execute(TeilnehmerDdl(races));
    newDb->close();
}

void DB_CreateDatabase(const QString &path, int races) {
    std::unique_ptr<Database> newDb;
    try {
        newDb = Database::create(path);
    } catch (const AppError &error) {
        ShowError(error, QString(), QString());
        return;
    }
    const bool created = DB_CreateAKLSortIndex(*newDb) && DB_CreatePunkteverteilung(*newDb) &&
                         DB_CreateTeilnehmer(*newDb, races);
    if (created)
        ui().message(QStringLiteral("Datenbank  : ") + path + QStringLiteral("\nerfolgreich angelegt !"),
                     MsgButtons::Ok, MsgIcon::Information);
    try {
        newDb->close();
    } catch (const AppError &) {
        // Closing a file that holds no open statement cannot lose anything.
    }
}

}  // namespace tarnis
