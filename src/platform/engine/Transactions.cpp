#include "platform/engine/EngineInternals.h"

namespace tarnis {

using namespace engine;

void Database::beginTrans() {
    if (!db_)
        raiseNotOpen(kSourceWorkspace);
    if (transDepth_ == 0)
        exec(db_, "BEGIN", kSourceWorkspace);
    else
        exec(db_, QStringLiteral("SAVEPOINT trans_%1").arg(transDepth_).toUtf8().constData(), kSourceWorkspace);
    ++transDepth_;
}

void Database::commitTrans() {
    if (!db_ || transDepth_ == 0)
        raise(err::CommitWithoutBegin, kSourceWorkspace,
              QStringLiteral("Übernehmen oder Zurücksetzen ohne vorheriges BeginTrans."));
    if (sqlite3_get_autocommit(db_)) {
        // The engine itself rolled the work back (disk full, I/O error): never report it as saved.
        transDepth_ = 0;
        raise(err::EngineGeneric, kSourceWorkspace,
              QStringLiteral("Die Transaktion wurde vom Datenbankmodul abgebrochen; die Änderungen wurden "
                             "nicht gespeichert."));
    }
    if (transDepth_ > 1) {
        exec(db_, QStringLiteral("RELEASE trans_%1").arg(transDepth_ - 1).toUtf8().constData(), kSourceWorkspace);
        --transDepth_;
        return;
    }
    const int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const AppError error = engineError(db_, rc, kSourceWorkspace);
        // A failed commit would otherwise leave the connection inside the transaction.
        if (!sqlite3_get_autocommit(db_))
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        transDepth_ = 0;
        throw error;
    }
    transDepth_ = 0;
}

void Database::rollback() {
    if (!db_ || transDepth_ == 0)
        raise(err::CommitWithoutBegin, kSourceWorkspace,
              QStringLiteral("Übernehmen oder Zurücksetzen ohne vorheriges BeginTrans."));
    if (sqlite3_get_autocommit(db_)) {  // already rolled back by the engine
        transDepth_ = 0;
        return;
    }
    if (transDepth_ > 1) {
        const QByteArray name = QStringLiteral("trans_%1").arg(transDepth_ - 1).toUtf8();
        exec(db_, ("ROLLBACK TO " + name).constData(), kSourceWorkspace);
        exec(db_, ("RELEASE " + name).constData(), kSourceWorkspace);
        --transDepth_;
        return;
    }
    const int rc = sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    transDepth_ = 0;
    if (rc != SQLITE_OK)
        raiseEngineError(db_, rc, kSourceWorkspace);
}

}  // namespace tarnis
