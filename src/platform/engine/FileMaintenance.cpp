#include "platform/engine/EngineInternals.h"

#include "platform/files/FileUtils.h"
#include "platform/files/PathResolution.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace tarnis {

namespace engine {

// Flushes a file (or folder) to disk, so that a rename over the old file never exposes a half-written one.
bool syncPath(const QString &path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Checks a target path for a new file: a usable name in an existing folder, not taken yet.
void checkNewTarget(const QString &target, const QString &source) {
    if (target.trimmed().isEmpty() || !folderReached(target))
        raiseInvalidPath(target, source);
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        raiseExists(target, source);
}

// Writes a compacted copy of the connection's database to the new file target.
void compactConnectionInto(sqlite3 *db, const QString &target) {
    checkNewTarget(target, kSourceEngine);
    const QString absolute = inRealFolder(target);
    // A journal beside a file that does not exist is left from a killed run; the engine
    // would roll it back into the new file.
    const QString journal = absolute + QStringLiteral("-journal");
    QFile::remove(journal);
    try {
        StmtGuard guard{prepareOne(db, QStringLiteral("VACUUM INTO ?1"), kSourceEngine)};
        const Params params{Value(absolute)};
        std::vector<char> texts;
        bindParams(db, guard.stmt, params, kSourceEngine, texts);
        stepToEnd(db, guard.stmt, kSourceEngine);
        if (!syncPath(absolute))
            raiseNotWritten(target);
    } catch (...) {
        QFile::remove(absolute);  // a partial copy is of no use, and the name was free before
        QFile::remove(journal);
        throw;
    }
}

// Closes a connection when it goes out of scope.
struct ConnectionGuard {
    sqlite3 *db = nullptr;
    ~ConnectionGuard() { sqlite3_close_v2(db); }
    void close() {
        sqlite3_close_v2(db);
        db = nullptr;
    }
};

// Runs PRAGMA integrity_check (or quick_check); a damaged file raises 3049.
void checkIntegrity(sqlite3 *db, const QString &path, bool quick = false) {
    QString problem;
    try {
        // The file's structure is checked, not each row's CHECKs: a row that an older version
        // let past one is no damage, and evaluating them all would take most of the time.
        exec(db, "PRAGMA ignore_check_constraints = 1", kSourceEngine);
        StmtGuard guard{prepareOne(db, quick ? QStringLiteral("PRAGMA quick_check") : QStringLiteral("PRAGMA integrity_check"),
                                   kSourceEngine)};
        const Recordset rs = readAll(db, guard.stmt, kSourceEngine);
        if (rs.recordCount() == 1 && rs.rows()[0][0].textOrEmpty() == QLatin1String("ok"))
            return;
        problem = rs.recordCount() > 0 ? rs.rows()[0][0].textOrEmpty() : QString();
    } catch (const AppError &e) {
        if (e.number != err::DamagedDatabase && e.number != err::EngineGeneric)
            throw;  // not a verdict on the file (locked, out of memory, not a database)
        problem = e.description;
    }
    raise(err::DamagedDatabase, kSourceEngine,
          QStringLiteral("Die Datenbank '%1' ist beschädigt und konnte nicht repariert werden (%2).")
              .arg(nativePath(path), problem));
}

}  // namespace engine

using namespace engine;

void Database::compactInto(const QString &target) {
    if (!db_)
        raiseNotOpen(kSourceEngine);
    compactConnectionInto(db_, target);
}

void CompactDatabase(const QString &source, const QString &target) {
    ConnectionGuard conn{openConnection(source, kSourceEngine)};
    compactConnectionInto(conn.db, target);
}

void CheckDatabaseFile(const QString &path, bool quick) {
    ConnectionGuard conn;
    try {
        conn.db = openConnection(path, kSourceEngine);
    } catch (const AppError &e) {
        if (e.number != err::DamagedDatabase) throw;
        raise(err::DamagedDatabase, kSourceEngine,
              QStringLiteral("Die Datenbank '%1' ist beschädigt (%2).").arg(nativePath(path), e.description));
    }
    checkIntegrity(conn.db, path, quick);
}

void RepairDatabase(const QString &path) {
    ConnectionGuard conn{openConnection(path, kSourceEngine)};
    if (IsWriteProtected(path))  // a write-protected file is not replaced behind the user's back
        raise(err::ReadOnly, kSourceEngine,
              QStringLiteral("Die Datenbank '%1' ist schreibgeschützt und kann nicht repariert werden.")
                  .arg(nativePath(path)));
    checkIntegrity(conn.db, path);

    // Rewrite into a fresh file beside the old one; the old file stays as it was until the
    // rename. The name is fixed, so that what a killed run left there is cleared now. The
    // old one is the file the system opens: a link to it stays, and every reader of the
    // path, the next start among them, finds the repaired series.
    const QFileInfo info(path);
    const QString real = openedFile(path);
    const QString temp = real + QStringLiteral(".repair");
    QFile::remove(temp);
    compactConnectionInto(conn.db, temp);
    conn.close();
    try {
        ConnectionGuard copy{openConnection(temp, kSourceEngine)};
        exec(copy.db, "REINDEX", kSourceEngine);
        checkIntegrity(copy.db, path);
        copy.close();
        if (!syncPath(temp))
            raiseNotWritten(temp);
        QFile::setPermissions(temp, info.permissions());
        const QByteArray from = QFile::encodeName(temp);
        const QByteArray to = QFile::encodeName(real);
        if (std::rename(from.constData(), to.constData()) != 0)
            raise(err::CannotOpen, kSourceEngine,
                  QStringLiteral("Die reparierte Datenbank konnte nicht an die Stelle von '%1' treten.")
                      .arg(nativePath(path)));
        syncPath(QFileInfo(real).absolutePath());
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
}

}  // namespace tarnis
