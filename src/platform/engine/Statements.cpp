#include "platform/engine/EngineInternals.h"

#include <QStringEncoder>

#include <limits>

namespace tarnis::engine {

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

}  // namespace tarnis::engine

namespace tarnis {

using namespace engine;

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

}  // namespace tarnis
