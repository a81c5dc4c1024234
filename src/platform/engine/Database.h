#pragma once
// The database layer over SQLite: one connection to one series file, record sets
// read completely into memory, execution with fail-on-error, transactions of the
// workspace, prepared statements for bulk work, compaction and repair.
//
// Errors are raised as AppError with the engine error numbers that the program's
// handlers test and its error dialog shows (3022 duplicate key, 3024 file not found,
// 3044 invalid path, 3265 item not found, ...).
#include "platform/engine/Value.h"
#include "platform/errors/AppError.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace tarnis {

using Params = std::vector<Value>;

// A complete snapshot of a query's rows; holds no live statement.
class Recordset {
public:
    Recordset() = default;
    Recordset(QStringList columns, std::vector<std::vector<Value>> rows);

    bool eof() const { return pos_ >= int(rows_.size()) || rows_.empty(); }
    bool bof() const { return pos_ < 0 || rows_.empty(); }
    void moveFirst() { pos_ = 0; }
    void moveNext() { if (pos_ < int(rows_.size())) ++pos_; }
    void movePrevious() { if (pos_ >= 0) --pos_; }
    void moveLast() { pos_ = rows_.empty() ? 0 : int(rows_.size()) - 1; }
    int recordCount() const { return int(rows_.size()); }
    // Position of the current row counted from 0; -1 when there is none.
    int absolutePosition() const { return eof() || bof() ? -1 : pos_; }
    void setAbsolutePosition(int pos);  // 3021 when out of range

    int fieldCount() const { return int(columns_.size()); }
    QString fieldName(int index) const;   // 3265 when out of range
    int fieldIndex(const QString &name) const;  // -1 when missing (compared without case)
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }
    // The current row's field; no current row raises 3021, a missing field 3265.
    const Value &field(const QString &name) const;
    const Value &field(int index) const;

    const QStringList &columns() const { return columns_; }
    const std::vector<std::vector<Value>> &rows() const { return rows_; }

private:
    QStringList columns_;
    std::vector<std::vector<Value>> rows_;
    int pos_ = 0;
};

// A prepared statement for bulk work: bind, run, reset. Finalized by its destructor.
class Statement {
public:
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    ~Statement();

    // Binds the values to ?1..?n, runs the statement to its end and resets it;
    // returns the number of rows changed. Errors are raised with engine numbers.
    std::int64_t execute(const Params &params);
    // Binds and reads every row.
    Recordset query(const Params &params);

private:
    friend class Database;
    Statement(std::weak_ptr<void> owner, sqlite3 *db, sqlite3_stmt *stmt)
        : owner_(std::move(owner)), db_(db), stmt_(stmt) {}
    void bind(const Params &params);
    std::weak_ptr<void> owner_;  // expires when the database is closed: a later run raises 91
    sqlite3 *db_ = nullptr;
    sqlite3_stmt *stmt_ = nullptr;
    std::vector<char> texts_;  // the bound texts, kept by this statement until its next bind
};

class Database {
public:
    // Opens an existing series file; never creates one. Empty path or missing
    // folder: 3044; missing file: 3024; not a database: 3343.
    static std::unique_ptr<Database> open(const QString &path);
    // Creates a new, empty file exclusively (an existing file raises 3204 and is
    // left untouched; a missing folder or empty name 3044) and opens it.
    static std::unique_ptr<Database> create(const QString &path);

    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const QString &path() const { return path_; }
    bool isOpen() const { return db_ != nullptr; }
    void close();

    // Runs one statement; values are bound to ?1..?n. With failOnError a failing
    // statement raises; without it a failure while running is ignored and 0 is
    // returned (text that does not parse, a missing table or field always raises).
    // Returns the number of rows changed.
    std::int64_t execute(const QString &sql, const Params &params = {}, bool failOnError = true);
    // Runs a query and reads all its rows.
    Recordset openRecordset(const QString &sql, const Params &params = {});
    // Runs a query and hands each row's statement to `row` as it is read, after the
    // column names to `columns`; nothing is kept. For readers that store the rows in
    // a form of their own (the participant grid).
    void forEachRow(const QString &sql, const Params &params,
                    const std::function<void(const QStringList &)> &columns,
                    const std::function<void(sqlite3_stmt *)> &row);
    Statement prepare(const QString &sql);

    // Workspace transactions; nested calls use savepoints.
    void beginTrans();
    void commitTrans();
    void rollback();
    bool inTransaction() const { return transDepth_ > 0; }

    // Column names of a table in their order; a missing table raises 3265.
    QStringList tableColumns(const QString &table) const;
    bool tableExists(const QString &table) const;

    // Writes a compacted copy of this database to target (which must not exist).
    void compactInto(const QString &target);

    sqlite3 *handle() const { return db_; }

private:
    explicit Database(QString path, sqlite3 *db);
    QString path_;
    sqlite3 *db_ = nullptr;
    std::shared_ptr<void> alive_;  // shared with the statements prepared here
    int transDepth_ = 0;
};

// Compacts the file source into the new file target (VACUUM INTO), synced to disk.
void CompactDatabase(const QString &source, const QString &target);
// Opens the file and runs the engine's check (quick: the cheaper one that skips the
// index contents); a file that fails it raises 3049, one that is no database 3343.
void CheckDatabaseFile(const QString &path, bool quick = false);
// Checks the file, rebuilds its indexes and rewrites it (into a new file that then
// replaces it); a file that cannot be read is reported (3049 or 3343) and left as
// it was. The file must not be open elsewhere in the program.
void RepairDatabase(const QString &path);

// The error for a database file moved or deleted while the program had it open (3027).
AppError movedDatabaseError(const QString &path, const QString &source);

// Raises the AppError that matches an SQLite result on this connection.
[[noreturn]] void raiseEngineError(sqlite3 *db, int rc, const QString &source);

// Quotes an identifier for use in SQL text ("Index", "Lauf_3_Punkte").
QString quoteIdentifier(const QString &name);

}  // namespace tarnis
