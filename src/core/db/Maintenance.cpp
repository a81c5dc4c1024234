#include "core/db/Maintenance.h"

#include "core/db/Globals.h"
#include "core/services/ShowError.h"
#include "platform/engine/Database.h"
#include "platform/files/FileUtils.h"
#include "platform/text/Clock.h"
#include "platform/ui/Ui.h"

#include <filesystem>

namespace tarnis {

namespace {

// The copy is written beside the target and renamed over it, so the target is
// either the old file or the complete copy.
void copyReplacing(const QString &source, const QString &target) {
    if (!CopyFileOver(source, target, true))
        throw AppError(err::CannotOpen, kRuntimeSource,
                       QStringLiteral("Die Datei \"%1\" konnte nicht nach \"%2\" kopiert werden.").arg(source, target));
}

void closeSeries() {
    if (gDB) gDB->close();
}

// After a failure the program must not be left without its database.
void reopenSeries() {
    try {
        gDB = Database::open(gDBPath);
    } catch (const AppError &) {
        // The load sequence that follows reports a file that cannot be opened.
    }
}

class BusyPointer {
public:
    BusyPointer() { ui().setBusy(true); }
    ~BusyPointer() { ui().setBusy(false); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

template <typename Work>
void maintain(const QString &procedure, const QString &doneMessage, Work work) {
    try {
        closeSeries();
        {
            BusyPointer busy;
            work();
        }
        ui().message(doneMessage, MsgButtons::Ok, MsgIcon::Information);
    } catch (...) {
        ShowError(toAppError(std::current_exception()), QString(), procedure);
        reopenSeries();
    }
}

}  // namespace

QString CompactBackupName(const QString &dbPath) {
    return dbPath + QLatin1Char('_') + formatDate(Today());
}

void DB_Compact() {
    maintain(QStringLiteral("DB_Compact"), QStringLiteral("Komprimierung der Datenbank abgeschlossen !"), [] {
        const QString compacted = gDBPath + QStringLiteral("_new");
        // The backup is the user's safety copy: without it nothing is compacted.
        copyReplacing(gDBPath, CompactBackupName(gDBPath));
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::path(compacted.toStdString()), ignored);
        CompactDatabase(gDBPath, compacted);
        copyReplacing(compacted, gDBPath);
    });
}

void DB_Repair() {
    maintain(QStringLiteral("DB_Repair"), QStringLiteral("Reperatur der Datenbank abgeschlossen !"),
             [] { RepairDatabase(gDBPath); });
}

void DB_CloseAll() {
    try {
        closeSeries();
    } catch (...) {
        // At shutdown nothing is left to tell.
    }
}

}  // namespace tarnis
