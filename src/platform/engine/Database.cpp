#include "platform/engine/EngineInternals.h"

#include "platform/engine/Collation.h"
#include "platform/engine/TextLength.h"
#include "platform/files/PathResolution.h"

#include <QFile>
#include <QFileInfo>

namespace tarnis {

namespace {

constexpr int kBusyTimeoutMs = 2000;

}  // namespace

namespace engine {

// Opens an existing file with the connection settings every connection gets.
sqlite3 *openConnection(const QString &path, const QString &source) {
    if (path.trimmed().isEmpty())
        raiseInvalidPath(path, source);
    // The folder as the system reaches it: a ".." after a folder link climbs out of the
    // folder the link points to, as it does for the file writer.
    if (!folderReached(path))
        raiseInvalidPath(path, source);
    const QFileInfo info(path);
    if (!info.exists())
        raise(err::FileNotFound, source,
              QStringLiteral("Die Datei '%1' wurde nicht gefunden.").arg(nativePath(path)));
    if (info.isDir())
        raise(err::CannotOpen, source,
              QStringLiteral("'%1' ist ein Ordner und keine Datenbank.").arg(nativePath(path)));

    sqlite3 *db = nullptr;
    const QByteArray name = QFile::encodeName(inRealFolder(path));
    int rc = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db);
        raise(err::CannotOpen, source,
              QStringLiteral("Die Datei '%1' kann nicht geöffnet werden.").arg(nativePath(path)));
    }
    try {
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        if (registerGeneralCollation(db) != SQLITE_OK || registerTextLength(db) != SQLITE_OK)
            raiseEngineError(db, sqlite3_errcode(db), source);
        // Reading the schema checks the header: SQLite alone would accept any file until the first query.
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        if ((rc & 0xFF) == SQLITE_NOTADB)
            raise(err::NotADatabase, source,
                  QStringLiteral("'%1' ist keine Datenbank dieses Programms (unerkanntes Datenbankformat).")
                      .arg(nativePath(path)));
        if (rc != SQLITE_OK)
            raiseEngineError(db, rc, source);
        // One file only: backup, restore and compaction copy the file alone.
        rc = sqlite3_exec(db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK && (rc & 0xFF) != SQLITE_READONLY)
            raiseEngineError(db, rc, source);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    return db;
}

}  // namespace engine

using namespace engine;

Database::Database(QString path, sqlite3 *db)
    : path_(std::move(path)), db_(db), alive_(std::make_shared<int>(0)) {}

Database::~Database() {
    close();
}

std::unique_ptr<Database> Database::open(const QString &path) {
    sqlite3 *db = openConnection(path, kSourceDatabase);
    return std::unique_ptr<Database>(new Database(path, db));
}

std::unique_ptr<Database> Database::create(const QString &path) {
    if (path.trimmed().isEmpty())
        raiseInvalidPath(path, kSourceDatabase);
    // A link that leads nowhere takes the name, but no file is there to exist already.
    if (const QString reason = brokenLinkReason(path); !reason.isEmpty())
        raise(err::InvalidPath, kSourceDatabase, reason);
    if (!folderReached(path))
        raiseInvalidPath(path, kSourceDatabase);
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        raiseExists(path, kSourceDatabase);
    // An empty file is a valid empty database; creating it exclusively never replaces a file.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(path))
            raiseExists(path, kSourceDatabase);
        raise(err::CannotOpen, kSourceDatabase,
              QStringLiteral("Die Datenbank '%1' kann nicht angelegt werden: %2")
                  .arg(nativePath(path), file.errorString()));
    }
    file.close();
    try {
        return open(path);
    } catch (...) {
        QFile::remove(path);  // ours, and still empty
        throw;
    }
}

void Database::close() {
    if (!db_)
        return;
    if (transDepth_ > 0 && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);  // uncommitted work is discarded
    transDepth_ = 0;
    alive_.reset();
    // close_v2 waits for statements still held by callers before it lets go of the file.
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

std::int64_t Database::execute(const QString &sql, const Params &params, bool failOnError) {
    StmtGuard guard{prepareOne(db_, sql, kSourceDatabase)};
    std::vector<char> texts;
    bindParams(db_, guard.stmt, params, kSourceDatabase, texts);
    try {
        // Counted as a difference, so that a statement that changes no rows (DDL, SELECT) gives 0.
        const sqlite3_int64 before = sqlite3_total_changes64(db_);
        stepToEnd(db_, guard.stmt, kSourceDatabase);
        return sqlite3_total_changes64(db_) - before;
    } catch (const AppError &) {
        if (failOnError)
            throw;
        return 0;
    }
}

Recordset Database::openRecordset(const QString &sql, const Params &params) {
    StmtGuard guard{prepareOne(db_, sql, kSourceDatabase)};
    std::vector<char> texts;
    bindParams(db_, guard.stmt, params, kSourceDatabase, texts);
    return readAll(db_, guard.stmt, kSourceDatabase);
}

void Database::forEachRow(const QString &sql, const Params &params,
                          const std::function<void(const QStringList &)> &columns,
                          const std::function<void(sqlite3_stmt *)> &row) {
    StmtGuard guard{prepareOne(db_, sql, kSourceDatabase)};
    std::vector<char> texts;
    bindParams(db_, guard.stmt, params, kSourceDatabase, texts);
    const int n = sqlite3_column_count(guard.stmt);
    QStringList names;
    names.reserve(n);
    for (int i = 0; i < n; ++i)
        names << QString::fromUtf8(sqlite3_column_name(guard.stmt, i));
    columns(names);
    int rc;
    while ((rc = sqlite3_step(guard.stmt)) == SQLITE_ROW)
        row(guard.stmt);
    if (rc != SQLITE_DONE)
        raiseEngineError(db_, rc, kSourceDatabase);
}

Statement Database::prepare(const QString &sql) {
    return Statement(alive_, db_, prepareOne(db_, sql, kSourceQueryDef));
}

QStringList Database::tableColumns(const QString &table) const {
    if (!db_)
        raiseNotOpen(kSourceDatabase);
    StmtGuard guard{prepareOne(db_, QStringLiteral("SELECT name FROM pragma_table_info(?1) ORDER BY cid"),
                               kSourceDatabase)};
    const Params params{Value(table)};
    std::vector<char> texts;
    bindParams(db_, guard.stmt, params, kSourceDatabase, texts);
    const Recordset rs = readAll(db_, guard.stmt, kSourceDatabase);
    if (rs.recordCount() == 0)
        raiseItemNotFound(table, kSourceDatabase);
    QStringList names;
    names.reserve(rs.recordCount());
    for (const auto &row : rs.rows())
        names << row[0].toText();
    return names;
}

bool Database::tableExists(const QString &table) const {
    if (!db_)
        return false;
    StmtGuard guard{prepareOne(
        db_, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN ('table', 'view') AND name = ?1 COLLATE NOCASE"),
        kSourceDatabase)};
    const Params params{Value(table)};
    std::vector<char> texts;
    bindParams(db_, guard.stmt, params, kSourceDatabase, texts);
    return readAll(db_, guard.stmt, kSourceDatabase).recordCount() > 0;
}

}  // namespace tarnis
