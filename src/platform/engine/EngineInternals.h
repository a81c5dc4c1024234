#pragma once
// Shared by the files of the database engine alone: the sources named in its errors,
// raising them, running and binding statements, opening a connection.
#include "platform/engine/Database.h"

#include <QString>
#include <sqlite3.h>

#include <vector>

namespace tarnis::engine {

inline const QString kSourceDatabase = QStringLiteral("DB.Database");
inline const QString kSourceQueryDef = QStringLiteral("DB.QueryDef");
inline const QString kSourceRecordset = QStringLiteral("DB.Recordset");
inline const QString kSourceWorkspace = QStringLiteral("DB.Workspace");
inline const QString kSourceEngine = QStringLiteral("DB.DBEngine");

QString nativePath(const QString &path);
[[noreturn]] void raise(int number, const QString &source, const QString &description);
[[noreturn]] void raiseInvalidPath(const QString &path, const QString &source);
[[noreturn]] void raiseExists(const QString &path, const QString &source);
[[noreturn]] void raiseNotOpen(const QString &source);
[[noreturn]] void raiseNotWritten(const QString &path);
[[noreturn]] void raiseNoCurrentRecord();
[[noreturn]] void raiseItemNotFound(const QString &item, const QString &source);
// The AppError with the program's engine error number for an SQLite result.
AppError engineError(sqlite3 *db, int rc, const QString &source);

// Runs SQL text that binds nothing and returns no rows the caller needs.
void exec(sqlite3 *db, const char *sql, const QString &source);
Value columnValue(sqlite3_stmt *stmt, int i);
// Steps a bound statement to its end and reads every row it gives.
Recordset readAll(sqlite3 *db, sqlite3_stmt *stmt, const QString &source);
void stepToEnd(sqlite3 *db, sqlite3_stmt *stmt, const QString &source);
// Binds params to ?1..?n; the texts stay in texts until the statement is bound again or finalized.
void bindParams(sqlite3 *db, sqlite3_stmt *stmt, const Params &params, const QString &source,
                std::vector<char> &texts);

// Owns a statement prepared for one call.
struct StmtGuard {
    sqlite3_stmt *stmt = nullptr;
    ~StmtGuard() { sqlite3_finalize(stmt); }
};

// Prepares exactly one statement; text after it other than blanks, ";" and comments is refused.
sqlite3_stmt *prepareOne(sqlite3 *db, const QString &sql, const QString &source);
// Opens an existing file with the connection settings every connection gets.
sqlite3 *openConnection(const QString &path, const QString &source);
// Writes a compacted copy of the connection's database to the new file target.
void compactConnectionInto(sqlite3 *db, const QString &target);

}  // namespace tarnis::engine
