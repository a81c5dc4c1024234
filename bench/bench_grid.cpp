// The participant grid's refresh on a 50-race series of 100,000 participants (the
// series of bench/seasons/grid_100000, built from its "sql" lines). The floor reads
// the same rows with the same query through bare SQLite, touching every value.
#include "core/db/Create.h"
#include "core/db/Globals.h"
#include "mainwin/GridSnapshot.h"
#include "mainwin/RecordSource.h"
#include "platform/settings/Settings.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace tarnis;

namespace {

struct GridSeries {
    QTemporaryDir dir;
    bool ok = false;
    GridSeries() {
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        reloadSettings();
        const QString path = dir.filePath(QStringLiteral("series.mdb"));
        CreateSeriesFile(path, 50);
        gDB = Database::open(path);
        QFile script(QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/seasons/grid_100000/case.txt"));
        if (!script.open(QIODevice::ReadOnly)) return;
        gDB->beginTrans();
        for (const QString &line : QString::fromUtf8(script.readAll()).split(u'\n'))
            if (line.startsWith(QLatin1String("sql "))) gDB->execute(line.mid(4));
        gDB->commitTrans();
        ok = true;
    }
};

GridSeries &series() {
    static GridSeries s;
    return s;
}

// The load sequence's sort and a header click's.
const char *const kSorts[] = {"select * from Teilnehmer  order by Jahrgang, Altersklasse, Zuname, Vorname ASC",
                              "select * from Teilnehmer  order by Vorname DESC"};

void BM_GridRefresh(benchmark::State &state) {
    if (!series().ok) state.SkipWithError("the series script is missing");
    const QString sql = QString::fromUtf8(kSorts[state.range(0)]);
    for (auto _ : state) {
        GridSnapshot rows = GridSnapshot::read(*gDB, sql);
        benchmark::DoNotOptimize(rows.rowCount());
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}

void BM_GridRefreshFloor(benchmark::State &state) {
    if (!series().ok) state.SkipWithError("the series script is missing");
    sqlite3 *db = gDB->handle();
    for (auto _ : state) {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, kSorts[state.range(0)], -1, &stmt, nullptr);
        const int columns = sqlite3_column_count(stmt);
        std::int64_t sum = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW)
            for (int c = 0; c < columns; ++c) switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_INTEGER: sum += sqlite3_column_int64(stmt, c); break;
                case SQLITE_NULL: break;
                default: sum += *sqlite3_column_text(stmt, c) + sqlite3_column_bytes(stmt, c); break;
                }
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}

// The grid as it was: a Value for every cell.
void BM_GridRefreshAsRecordset(benchmark::State &state) {
    if (!series().ok) state.SkipWithError("the series script is missing");
    const QString sql = QString::fromUtf8(kSorts[state.range(0)]);
    for (auto _ : state) benchmark::DoNotOptimize(gDB->openRecordset(sql).recordCount());
    state.SetItemsProcessed(state.iterations() * 100000);
}

}  // namespace

BENCHMARK(BM_GridRefresh)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridRefreshFloor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridRefreshAsRecordset)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2);
