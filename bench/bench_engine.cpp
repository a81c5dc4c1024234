// The engine itself: 100,000 participant rows of a series with 50 races (207 columns)
// inserted and then updated in every non-key column, once through the engine's
// prepared statements and once through bare SQLite statements, each in one
// transaction. The ratio of the two is the engine's overhead.
#include "core/db/Create.h"
#include "platform/engine/Collation.h"
#include "platform/engine/Database.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <memory>
#include <string>

using namespace tarnis;

namespace {

constexpr int kRows = 100000;
constexpr int kRaces = 50;
constexpr int kRaceColumns = 4 * kRaces;  // Ort, Datum, Punkte, Zeit per race

// The non-key columns after the five key fields, in table order.
QStringList valueColumns() {
    QStringList columns{QStringLiteral("Endwertung"), QStringLiteral("Zwischenwertung")};
    for (int r = 1; r <= kRaces; ++r)
        for (const char *suffix : {"_Ort", "_Datum", "_Punkte", "_Zeit"})
            columns << QStringLiteral("Lauf_%1").arg(r) + QLatin1String(suffix);
    return columns;
}

QString placeholders(int from, int count) {
    QStringList marks;
    for (int i = 0; i < count; ++i) marks << QStringLiteral("?%1").arg(from + i);
    return marks.join(QStringLiteral(", "));
}

const QString kInsert = QStringLiteral("INSERT INTO Teilnehmer VALUES (") + placeholders(1, 7 + kRaceColumns) + u')';

QString updateSql() {
    QStringList sets;
    const QStringList columns = valueColumns();
    for (int i = 0; i < columns.size(); ++i) sets << columns[i] + QStringLiteral(" = ?%1").arg(i + 1);
    const int k = int(columns.size());
    return QStringLiteral("UPDATE Teilnehmer SET ") + sets.join(QStringLiteral(", ")) +
           QStringLiteral(" WHERE Vorname = ?%1 AND Zuname = ?%2 AND Jahrgang = ?%3 AND Altersklasse = ?%4 AND "
                          "Verein = ?%5")
               .arg(k + 1).arg(k + 2).arg(k + 3).arg(k + 4).arg(k + 5);
}

// The same generated row for both sides: the key of row i and, per race, venue, date,
// points and time (round `round` changes the values, not the key).
struct Texts {
    QString ort = QStringLiteral("Stadtpark Süd"), datum = QStringLiteral("05.12.2026"), zeit = QStringLiteral("00:41:07");
    std::string ortU = ort.toStdString(), datumU = datum.toStdString(), zeitU = zeit.toStdString();
};
const Texts kTexts;

Params engineRow(int i, int round, bool withKey) {
    Params p;
    p.reserve(7 + kRaceColumns);
    auto key = [&] {
        p.emplace_back(QStringLiteral("Läufer %1").arg(i));
        p.emplace_back(QStringLiteral("Eva"));
        p.emplace_back(std::int64_t(1950 + i % 50));
        p.emplace_back(QStringLiteral("M%1").arg(30 + i % 20));
        p.emplace_back(QStringLiteral("LG Süd %1").arg(i % 300));
    };
    if (withKey) key();
    p.emplace_back(std::int64_t((i + round) % 500));
    p.emplace_back(std::int64_t(0));
    for (int r = 0; r < kRaces; ++r) {
        p.emplace_back(kTexts.ort);
        p.emplace_back(kTexts.datum);
        p.emplace_back(std::int64_t((i + r + round) % 30));
        p.emplace_back(kTexts.zeit);
    }
    if (!withKey) key();
    return p;
}

void bindText(sqlite3_stmt *s, int n, const std::string &t) {
    sqlite3_bind_text(s, n, t.data(), int(t.size()), SQLITE_STATIC);
}

// Binds row i to the bare statement in the order engineRow gives it.
void bareRow(sqlite3_stmt *s, int i, int round, bool withKey, std::string &name, std::string &klasse,
             std::string &verein) {
    name = "Läufer " + std::to_string(i);
    klasse = "M" + std::to_string(30 + i % 20);
    verein = "LG Süd " + std::to_string(i % 300);
    int n = 1;
    auto key = [&] {
        bindText(s, n++, name);
        sqlite3_bind_text(s, n++, "Eva", 3, SQLITE_STATIC);
        sqlite3_bind_int64(s, n++, 1950 + i % 50);
        bindText(s, n++, klasse);
        bindText(s, n++, verein);
    };
    if (withKey) key();
    sqlite3_bind_int64(s, n++, (i + round) % 500);
    sqlite3_bind_int64(s, n++, 0);
    for (int r = 0; r < kRaces; ++r) {
        bindText(s, n++, kTexts.ortU);
        bindText(s, n++, kTexts.datumU);
        sqlite3_bind_int64(s, n++, (i + r + round) % 30);
        bindText(s, n++, kTexts.zeitU);
    }
    if (!withKey) key();
}

// A fresh, empty series file per run of the insert benchmarks.
struct EmptySeries {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("series.mdb"));
    EmptySeries() { CreateSeriesFile(path, kRaces); }
};

// One filled series file shared by the update benchmarks.
const QString &filledSeries() {
    static EmptySeries series;
    static const bool filled = [] {
        auto db = Database::open(series.path);
        db->beginTrans();
        Statement insert = db->prepare(kInsert);
        for (int i = 0; i < kRows; ++i) insert.execute(engineRow(i, 0, true));
        db->commitTrans();
        return true;
    }();
    (void)filled;
    return series.path;
}

// Opens the file bare, with the text order every series connection has.
sqlite3 *openBare(const QString &path) {
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    registerGeneralCollation(db);
    sqlite3_exec(db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    return db;
}

void runEngine(benchmark::State &state, bool update) {
    const QString sql = update ? updateSql() : kInsert;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<EmptySeries> fresh;
        if (!update) fresh = std::make_unique<EmptySeries>();
        auto db = Database::open(update ? filledSeries() : fresh->path);
        ++round;
        state.ResumeTiming();
        db->beginTrans();
        Statement statement = db->prepare(sql);
        std::int64_t changed = 0;
        for (int i = 0; i < kRows; ++i) changed += statement.execute(engineRow(i, round, !update));
        db->commitTrans();
        if (changed != kRows) state.SkipWithError("not every row was written");
        state.PauseTiming();
        db.reset();
        fresh.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void runBare(benchmark::State &state, bool update) {
    const QByteArray sql = (update ? updateSql() : kInsert).toUtf8();
    int round = 0;
    std::string name, klasse, verein;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<EmptySeries> fresh;
        if (!update) fresh = std::make_unique<EmptySeries>();
        sqlite3 *db = openBare(update ? filledSeries() : fresh->path);
        ++round;
        state.ResumeTiming();
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr);
        std::int64_t changed = 0;
        for (int i = 0; i < kRows; ++i) {
            bareRow(statement, i, round, !update, name, klasse, verein);
            if (sqlite3_step(statement) != SQLITE_DONE) state.SkipWithError(sqlite3_errmsg(db));
            changed += sqlite3_changes(db);
            sqlite3_reset(statement);
        }
        sqlite3_finalize(statement);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        if (changed != kRows) state.SkipWithError("not every row was written");
        state.PauseTiming();
        sqlite3_close_v2(db);
        fresh.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_EngineInsert(benchmark::State &state) { runEngine(state, false); }
void BM_EngineInsertFloor(benchmark::State &state) { runBare(state, false); }
void BM_EngineUpdate(benchmark::State &state) { runEngine(state, true); }
void BM_EngineUpdateFloor(benchmark::State &state) { runBare(state, true); }

}  // namespace

BENCHMARK(BM_EngineInsert)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_EngineInsertFloor)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_EngineUpdate)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_EngineUpdateFloor)->Unit(benchmark::kMillisecond)->Iterations(2);
