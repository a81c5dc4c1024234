#include "core/db/Maintenance.h"

#include "core/db/Globals.h"
#include "core/services/ShowError.h"
#include "platform/engine/Database.h"
#include "platform/files/FileUtils.h"
#include "platform/files/PathResolution.h"
#include "platform/files/SafeFile.h"
#include "platform/text/Clock.h"
#include "platform/ui/Ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>
#include <filesystem>

namespace tarnis {

namespace {

// The copy is written beside the target and renamed over it, so the target is
// either the old file or the complete copy.
void copyReplacing(const QString &source, const QString &target) {
    QString reason;
    if (!CopyFileOver(source, target, true, &reason))
        throw AppError(err::CannotOpen, kRuntimeSource,
                       QStringLiteral("Die Datei \"%1\" konnte nicht nach \"%2\" kopiert werden.%3")
                           .arg(source, target, reason.isEmpty() ? QString() : QStringLiteral(" ") + reason));
}

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

// The name the compaction writes under before its result is complete.
QString unfinishedCompaction(const QString &dbPath) { return dbPath + QStringLiteral("_new.tmp"); }

// A file gone from its place is told as such; only one that is there can be write-protected.
void refuseWriteProtected(const QString &path, const QString &doing) {
    if (!QFileInfo::exists(path)) throw movedDatabaseError(path, kRuntimeSource);
    if (IsWriteProtected(path))
        throw AppError(err::ReadOnly, kRuntimeSource,
                       QStringLiteral("Die Datenbank \"%1\" ist schreibgeschützt und kann nicht %2 werden.")
                           .arg(native(path), doing));
}

std::int64_t participantCount(const QString &path) {
    const auto series = Database::open(path);
    return series->openRecordset(QStringLiteral("SELECT count(*) FROM Teilnehmer")).field(0).toInt64();
}

// The compacted copy must be a sound file holding every participant of the original.
void checkCompacted(const QString &copy, std::int64_t participants) {
    CheckDatabaseFile(copy, true);
    if (participantCount(copy) != participants)
        throw AppError(err::DamagedDatabase, kRuntimeSource,
                       QStringLiteral("Die komprimierte Datenbank \"%1\" enthält nicht alle Teilnehmer; "
                                      "die Datenbank bleibt unverändert.")
                           .arg(native(copy)));
}

void renameOver(const QString &from, const QString &to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw AppError(err::CannotOpen, kRuntimeSource,
                       QStringLiteral("Die Datei \"%1\" konnte nicht in \"%2\" umbenannt werden.")
                           .arg(native(from), native(to)));
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

// The day backup ("<series>_dd.mm.yyyy") whose writer's temporary a file of this name
// could be; empty for none. The writer cuts a backup name over 200 bytes to its first 60
// characters, which lie within the series name: every date gives that name, so any date
// stands for it.
QString dayBackupFor(const QString &name, const QString &series) {
    static const QRegularExpression day(
        QRegularExpression::anchoredPattern(QStringLiteral("_[0-9]{2}\\.[0-9]{2}\\.[0-9]{4}")));
    const QString seriesName = QFileInfo(series).fileName();
    const QString written = writerTemporaryTarget(name);
    if (written.startsWith(seriesName)) {
        const QString suffix = written.mid(seriesName.size());
        return day.match(suffix).hasMatch() ? series + suffix : QString();
    }
    if (written.isEmpty() || !seriesName.startsWith(written)) return QString();
    return series + QStringLiteral("_01.01.2000");
}

}  // namespace

QString CompactBackupName(const QString &dbPath) {
    return dbPath + QLatin1Char('_') + formatDate(Today());
}

void DB_Compact() {
    maintain(QStringLiteral("DB_Compact"), QStringLiteral("Komprimierung der Datenbank abgeschlossen !"), [] {
        const QString backup = CompactBackupName(gDBPath);
        const QString compacted = gDBPath + QStringLiteral("_new");
        // "_new" only ever appears complete: the engine writes under this name first.
        const QString unfinished = unfinishedCompaction(gDBPath);
        refuseWriteProtected(gDBPath, QStringLiteral("komprimiert"));
        // What a run killed half-way left behind.
        QFile::remove(unfinished);
        for (const QString &target : {gDBPath, backup, compacted}) removeStaleTemporaries(target);

        // A damaged file must not replace the day's good backup.
        CheckDatabaseFile(gDBPath);
        const std::int64_t participants = participantCount(gDBPath);
        // The backup is the user's safety copy: without it nothing is compacted.
        copyReplacing(gDBPath, backup);
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::path(QFile::encodeName(compacted).toStdString()), ignored);
        // A journal of an earlier "_new" would be rolled back into the new one when it is opened.
        QFile::remove(compacted + QStringLiteral("-journal"));
        try {
            CompactDatabase(gDBPath, unfinished);
            checkCompacted(unfinished, participants);
            renameOver(unfinished, compacted);
        } catch (...) {
            QFile::remove(unfinished);
            throw;
        }
        copyReplacing(compacted, gDBPath);
    });
}

void DB_Repair() {
    maintain(QStringLiteral("DB_Repair"), QStringLiteral("Reperatur der Datenbank abgeschlossen !"),
             [] { RepairDatabase(gDBPath); });
}

void RemoveLeftoverTemporaries(const QString &dbPath) {
    // The names compared whole lie in the folder as the system reaches it, as the writer's do.
    const QString series = inRealFolder(dbPath);
    const QString unfinished = unfinishedCompaction(series);
    const WriterTemporaries ofSeries(series), ofCompacted(series + QStringLiteral("_new"));
    // Each name as the writer and the compaction build it, compared whole.
    const auto isLeftover = [&](const QString &path) {
        if (path == unfinished || path == unfinished + QStringLiteral("-journal")) return true;
        if (ofSeries.has(path) || ofCompacted.has(path)) return true;
        const QString backup = dayBackupFor(QFileInfo(path).fileName(), series);
        return !backup.isEmpty() && isWriterTemporaryOf(path, backup);
    };
    // A series file that is a link has its own temporaries beside the file it points to.
    QStringList folders{QFileInfo(series).absolutePath(), ofSeries.folder()};
    folders.removeDuplicates();
    for (const QString &folderPath : folders) {
        const QDir folder(folderPath);
        for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            if (isLeftover(folder.filePath(name))) removeOwnFile(folder.filePath(name));
    }
}

void DB_CloseAll() {
    try {
        closeSeries();
    } catch (...) {
        // At shutdown nothing is left to tell.
    }
}

}  // namespace tarnis
