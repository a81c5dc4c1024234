#include "platform/engine/Database.h"

#include "platform/engine/Collation.h"
#include "platform/engine/TextLength.h"
#include "platform/files/FileUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <sqlite3.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include <limits>

namespace tarnis {

namespace {

const QString kSourceDatabase = QStringLiteral("DB.Database");
const QString kSourceQueryDef = QStringLiteral("DB.QueryDef");
const QString kSourceRecordset = QStringLiteral("DB.Recordset");
const QString kSourceWorkspace = QStringLiteral("DB.Workspace");
const QString kSourceEngine = QStringLiteral("DB.DBEngine");

constexpr int kBusyTimeoutMs = 2000;

QString nativePath(const QString &path) {
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void raise(int number, const QString &source, const QString &description) {
    throw AppError(number, source, description);
}

[[noreturn]] void raiseInvalidPath(const QString &path, const QString &source) {
    raise(err::InvalidPath, source, QStringLiteral("'%1' ist kein zulässiger Pfad.").arg(nativePath(path)));
}

[[noreturn]] void raiseExists(const QString &path, const QString &source) {
    raise(err::DatabaseExists, source, QStringLiteral("Die Datenbank '%1' existiert bereits.").arg(nativePath(path)));
}

[[noreturn]] void raiseNotOpen(const QString &source) {
    raise(err::ObjectNotSet, source, QStringLiteral("Die Datenbank ist nicht geöffnet."));
}

[[noreturn]] void raiseNotWritten(const QString &path) {
    raise(err::EngineGeneric, kSourceEngine,
          QStringLiteral("Die Datei '%1' konnte nicht auf den Datenträger geschrieben werden.").arg(nativePath(path)));
}

[[noreturn]] void raiseNoCurrentRecord() {
    raise(err::NoCurrentRecord, kSourceRecordset, QStringLiteral("Kein aktueller Datensatz."));
}

[[noreturn]] void raiseItemNotFound(const QString &item, const QString &source) {
    raise(err::ItemNotFound, source, QStringLiteral("Element '%1' wurde in dieser Auflistung nicht gefunden.").arg(item));
}

// The part of an SQLite message after "...: ", e.g. the constraint or column name.
QString messageSubject(const QString &message) {
    const int colon = message.indexOf(QLatin1String(": "));
    return colon < 0 ? QString() : message.mid(colon + 2).trimmed();
}

// The field of a column named like "Teilnehmer.Vorname".
QString columnOf(const QString &subject) {
    return subject.mid(subject.lastIndexOf(QLatin1Char('.')) + 1);
}

// The field of a CHECK named like "zls_Vorname".
QString checkedField(const QString &constraint) {
    return constraint.mid(4);
}

AppError engineError(sqlite3 *db, int rc, const QString &source) {
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    const QString subject = messageSubject(message);
    switch (extended) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
        return AppError(err::DuplicateKey, source,
                        QStringLiteral("Die Änderungen wurden nicht übernommen, weil sie im Primärschlüssel "
                                       "oder in einem eindeutigen Index doppelte Werte erzeugen würden."));
    case SQLITE_CONSTRAINT_NOTNULL:
        return AppError(err::NullInKey, source,
                        QStringLiteral("Das Feld '%1' darf keinen Nullwert enthalten.").arg(columnOf(subject)));
    case SQLITE_CONSTRAINT_CHECK:
        if (subject.startsWith(QLatin1String("zls_")))
            return AppError(err::EmptyText, source,
                            QStringLiteral("Das Feld '%1' darf keine leere Zeichenfolge enthalten.")
                                .arg(checkedField(subject)));
        if (subject.startsWith(QLatin1String("len_")))
            return AppError(err::TextTooLong, source,
                            QStringLiteral("Der Text für das Feld '%1' ist zu lang (höchstens 50 Zeichen).")
                                .arg(checkedField(subject)));
        if (subject.startsWith(QLatin1String("rng_")))
            return AppError(err::Overflow, source,
                            QStringLiteral("Überlauf: der Wert passt nicht in das Feld '%1'.").arg(checkedField(subject)));
        break;
    case SQLITE_CONSTRAINT_DATATYPE:
        return AppError(err::DataTypeMismatch, source,
                        QStringLiteral("Der Datentyp passt nicht zum Feld (%1).").arg(message));
    default:
        break;
    }
    switch (extended & 0xFF) {
    case SQLITE_NOTADB:
        return AppError(err::NotADatabase, source, QStringLiteral("Unerkanntes Datenbankformat."));
    case SQLITE_CORRUPT:
        return AppError(err::DamagedDatabase, source,
                        QStringLiteral("Die Datenbank ist beschädigt (%1).").arg(message));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return AppError(err::Locked, source,
                        QStringLiteral("Die Datenbank ist von einem anderen Vorgang gesperrt."));
    case SQLITE_NOMEM:
        return AppError(err::OutOfMemory, source, QStringLiteral("Nicht genügend Speicher"));
    case SQLITE_READONLY:
        return AppError(err::ReadOnly, source,
                        QStringLiteral("Die Datenbank ist schreibgeschützt und kann nicht geändert werden."));
    case SQLITE_CANTOPEN:
        return AppError(err::CannotOpen, source, QStringLiteral("Die Datenbank kann nicht geöffnet werden."));
    case SQLITE_ERROR:
        if (message.startsWith(QLatin1String("no such column")))
            return AppError(err::ItemNotFound, source,
                            QStringLiteral("Element '%1' wurde in dieser Auflistung nicht gefunden.")
                                .arg(columnOf(subject)));
        if (message.startsWith(QLatin1String("no such table")))
            return AppError(err::TableNotFound, source,
                            QStringLiteral("Die Tabelle oder Abfrage '%1' wurde nicht gefunden.").arg(subject));
        break;
    default:
        break;
    }
    return AppError(err::EngineGeneric, source, QStringLiteral("Fehler des Datenbankmoduls: %1").arg(message));
}

// Runs SQL text that binds nothing and returns no rows the caller needs.
void exec(sqlite3 *db, const char *sql, const QString &source) {
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        raiseEngineError(db, rc, source);
}

Value columnValue(sqlite3_stmt *stmt, int i) {
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return Value(std::int64_t(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(stmt, i));
    case SQLITE_NULL:
        return Value();
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
        return Value(QString::fromUtf8(text, sqlite3_column_bytes(stmt, i)));
    }
    }
}

// Steps a bound statement to its end and reads every row it gives.
Recordset readAll(sqlite3 *db, sqlite3_stmt *stmt, const QString &source) {
    const int n = sqlite3_column_count(stmt);
    QStringList columns;
    columns.reserve(n);
    for (int i = 0; i < n; ++i)
        columns << QString::fromUtf8(sqlite3_column_name(stmt, i));
    std::vector<std::vector<Value>> rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<Value> row;
        row.reserve(std::size_t(n));
        for (int i = 0; i < n; ++i)
            row.push_back(columnValue(stmt, i));
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        raiseEngineError(db, rc, source);
    return Recordset(std::move(columns), std::move(rows));
}

void stepToEnd(sqlite3 *db, sqlite3_stmt *stmt, const QString &source) {
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        raiseEngineError(db, rc, source);
}

// Binds params to ?1..?n. The texts go to SQLite as UTF-8 without a copy, out of texts,
// which the caller keeps unchanged until the statement is bound again or finalized:
// binding UTF-16 would make SQLite convert and allocate every value again while it runs.
void bindParams(sqlite3 *db, sqlite3_stmt *stmt, const Params &params, const QString &source,
                std::vector<char> &texts) {
    const int expected = sqlite3_bind_parameter_count(stmt);
    if (int(params.size()) != expected)
        raise(err::TooFewParameters, source,
              QStringLiteral("Falsche Anzahl von Parametern: %1 erwartet, %2 übergeben.")
                  .arg(expected)
                  .arg(params.size()));
    // Sized before the first text is bound, so that it never moves under a bound text.
    std::vector<char> &buffer = texts;
    QStringEncoder utf8(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
    qsizetype needed = 0;
    for (const Value &v : params)
        if (const auto *s = std::get_if<QString>(&v.raw()))
            needed += utf8.requiredSpace(s->size());
    if (std::size_t(needed) > buffer.size())
        buffer.resize(std::size_t(needed));
    char *out = buffer.data();
    for (int i = 0; i < expected; ++i) {
        const Value &v = params[std::size_t(i)];
        int rc = SQLITE_OK;
        const auto &raw = v.raw();
        if (const auto *n = std::get_if<std::int64_t>(&raw)) {
            rc = sqlite3_bind_int64(stmt, i + 1, *n);
        } else if (const auto *d = std::get_if<double>(&raw)) {
            rc = sqlite3_bind_double(stmt, i + 1, *d);
        } else if (const auto *s = std::get_if<QString>(&raw)) {
            // An empty text stays a text, not Null.
            char *end = utf8.appendToBuffer(out, *s);
            rc = sqlite3_bind_text(stmt, i + 1, out == end ? "" : out, int(end - out), SQLITE_STATIC);
            out = end;
        } else {
            rc = sqlite3_bind_null(stmt, i + 1);
        }
        if (rc != SQLITE_OK)
            raiseEngineError(db, rc, source);
    }
}

// Owns a statement prepared for one call.
struct StmtGuard {
    sqlite3_stmt *stmt = nullptr;
    ~StmtGuard() { sqlite3_finalize(stmt); }
};

// Prepares exactly one statement; text after it other than blanks, ";" and comments is refused.
sqlite3_stmt *prepareOne(sqlite3 *db, const QString &sql, const QString &source) {
    if (!db)
        raiseNotOpen(source);
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    const char *tail = nullptr;
    int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, &tail);
    if (rc != SQLITE_OK)
        raiseEngineError(db, rc, source);
    if (!stmt)
        raise(err::EngineGeneric, source, QStringLiteral("Die SQL-Anweisung ist leer."));
    StmtGuard guard{stmt};
    const char *end = utf8.constData() + utf8.size();
    if (tail && tail < end) {
        sqlite3_stmt *extra = nullptr;
        rc = sqlite3_prepare_v2(db, tail, int(end - tail), &extra, nullptr);
        sqlite3_finalize(extra);
        if (rc != SQLITE_OK || extra)
            raise(err::TextAfterStatement, source,
                  QStringLiteral("Zeichen nach dem Ende der SQL-Anweisung gefunden."));
    }
    guard.stmt = nullptr;
    return stmt;
}

// Opens an existing file with the connection settings every connection gets.
sqlite3 *openConnection(const QString &path, const QString &source) {
    if (path.trimmed().isEmpty())
        raiseInvalidPath(path, source);
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        raiseInvalidPath(path, source);
    if (!info.exists())
        raise(err::FileNotFound, source,
              QStringLiteral("Die Datei '%1' wurde nicht gefunden.").arg(nativePath(path)));
    if (info.isDir())
        raise(err::CannotOpen, source,
              QStringLiteral("'%1' ist ein Ordner und keine Datenbank.").arg(nativePath(path)));

    sqlite3 *db = nullptr;
    const QByteArray name = QFile::encodeName(info.absoluteFilePath());
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
    if (target.trimmed().isEmpty() || !QFileInfo(target).absoluteDir().exists())
        raiseInvalidPath(target, source);
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        raiseExists(target, source);
}

// Writes a compacted copy of the connection's database to the new file target.
void compactConnectionInto(sqlite3 *db, const QString &target) {
    checkNewTarget(target, kSourceEngine);
    const QString absolute = QFileInfo(target).absoluteFilePath();
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

}  // namespace

// ---------------------------------------------------------------------------- errors

void raiseEngineError(sqlite3 *db, int rc, const QString &source) {
    throw engineError(db, rc, source);
}

QString quoteIdentifier(const QString &name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// ---------------------------------------------------------------------------- Recordset

Recordset::Recordset(QStringList columns, std::vector<std::vector<Value>> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

void Recordset::setAbsolutePosition(int pos) {
    if (pos < 0 || pos >= int(rows_.size()))
        raiseNoCurrentRecord();
    pos_ = pos;
}

QString Recordset::fieldName(int index) const {
    if (index < 0 || index >= columns_.size())
        raiseItemNotFound(QString::number(index), kSourceRecordset);
    return columns_.at(index);
}

int Recordset::fieldIndex(const QString &name) const {
    // Callers mostly spell the name as the table does: try the cheap exact match first.
    const int exact = int(columns_.indexOf(name));
    if (exact >= 0)
        return exact;
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const Value &Recordset::field(const QString &name) const {
    const int index = fieldIndex(name);
    if (index < 0)
        raiseItemNotFound(name, kSourceRecordset);
    return field(index);
}

const Value &Recordset::field(int index) const {
    if (index < 0 || index >= columns_.size())
        raiseItemNotFound(QString::number(index), kSourceRecordset);
    if (eof() || bof())
        raiseNoCurrentRecord();
    return rows_[std::size_t(pos_)][std::size_t(index)];
}

// ---------------------------------------------------------------------------- Statement

Statement::Statement(Statement &&other) noexcept
    : owner_(std::move(other.owner_)), db_(other.db_), stmt_(other.stmt_), texts_(std::move(other.texts_)) {
    other.db_ = nullptr;
    other.stmt_ = nullptr;
}

Statement &Statement::operator=(Statement &&other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        owner_ = std::move(other.owner_);
        texts_ = std::move(other.texts_);
        db_ = other.db_;
        stmt_ = other.stmt_;
        other.db_ = nullptr;
        other.stmt_ = nullptr;
    }
    return *this;
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::bind(const Params &params) {
    if (!stmt_ || owner_.expired())
        raiseNotOpen(kSourceQueryDef);
    bindParams(db_, stmt_, params, kSourceQueryDef, texts_);
}

namespace {
// Leaves a statement ready for its next run, also after an error.
struct ResetGuard {
    sqlite3_stmt *stmt;
    ~ResetGuard() {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);  // nothing keeps pointing into the statement's texts
    }
};
}  // namespace

std::int64_t Statement::execute(const Params &params) {
    bind(params);
    ResetGuard reset{stmt_};
    const sqlite3_int64 before = sqlite3_total_changes64(db_);
    stepToEnd(db_, stmt_, kSourceQueryDef);
    return sqlite3_total_changes64(db_) - before;
}

Recordset Statement::query(const Params &params) {
    bind(params);
    ResetGuard reset{stmt_};
    return readAll(db_, stmt_, kSourceQueryDef);
}

// ---------------------------------------------------------------------------- Database

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
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        raiseInvalidPath(path, kSourceDatabase);
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

void Database::compactInto(const QString &target) {
    if (!db_)
        raiseNotOpen(kSourceEngine);
    compactConnectionInto(db_, target);
}

}  // namespace tarnis

namespace tarnis {

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
    // rename. The name is fixed, so that what a killed run left there is cleared now.
    const QFileInfo info(path);
    const QString temp = info.absoluteFilePath() + QStringLiteral(".repair");
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
        const QByteArray to = QFile::encodeName(info.absoluteFilePath());
        if (std::rename(from.constData(), to.constData()) != 0)
            raise(err::CannotOpen, kSourceEngine,
                  QStringLiteral("Die reparierte Datenbank konnte nicht an die Stelle von '%1' treten.")
                      .arg(nativePath(path)));
        syncPath(info.absolutePath());
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
}

}  // namespace tarnis
