// The grid, intermediate and club lists laid out with the real fonts for growing
// series with 50 races, each against its floor: reading the same rows with the
// same query (the grid list: the grid's record source).
#include "../tests/print/list_support.h"
#include "bench_layout_control.h"
#include "bench_series.h"
#include "mainwin/RecordSource.h"
#include "print/ClubList.h"
#include "print/GridList.h"
#include "print/IntermediateList.h"
#include "print/IntermediateRows.h"

#include <benchmark/benchmark.h>
#include <map>
#include <memory>

using namespace tarnis;

namespace {

constexpr int kRaces = 50;

// A series file per size, made once: participants in 20 classes of the order and
// 300 clubs, every second one a finisher, points in most races.
class RaceSeries {
public:
    static void open(int participants) {
        static std::map<int, std::unique_ptr<QTemporaryDir>> made;
        static bench::QuietUi quiet;
        auto &dir = made[participants];
        const bool fresh = !dir;
        if (fresh) dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", dir->path().toUtf8());
        reloadSettings();
        setUi(&quiet);
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("MaxLaufErf"), QString::number(kRaces));
        const QString path = dir->filePath(QStringLiteral("series.mdb"));
        if (fresh) fill(path, participants);
        gDB = Database::open(path);
    }

private:
    static void fill(const QString &path, int participants) {
        CreateSeriesFile(path, kRaces);
        auto db = Database::open(path);
        db->beginTrans();
        Statement order = db->prepare(QStringLiteral("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES (?1, ?2)"));
        for (int c = 0; c < 20; ++c) order.execute({QStringLiteral("K%1").arg(c), c});
        QString sql = QStringLiteral("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, "
                                     "Endwertung, Zwischenwertung");
        QString values = QStringLiteral("?1, ?2, ?3, ?4, ?5, ?6, ?7");
        for (int r = 1; r <= kRaces; ++r) {
            sql += QStringLiteral(", Lauf_%1_Punkte").arg(r);
            values += QStringLiteral(", ?%1").arg(7 + r);
        }
        Statement add = db->prepare(sql + QStringLiteral(") VALUES (") + values + u')');
        for (int i = 0; i < participants; ++i) {
            const std::int64_t total = 1 + (i * 7919) % 5000;
            Params p;
            p.reserve(7 + kRaces);
            p.emplace_back(QStringLiteral("Läufer %1").arg(i));
            p.emplace_back(QStringLiteral("Eva"));
            p.emplace_back(1950 + i % 50);
            p.emplace_back(QStringLiteral("K%1").arg(i % 20));
            p.emplace_back(QStringLiteral("LG Süd %1").arg(i % 300));
            p.emplace_back(i % 2 ? total : std::int64_t(0));
            p.emplace_back(i % 2 ? std::int64_t(0) : total);
            for (int r = 1; r <= kRaces; ++r) {
                if ((i + r) % 4) p.emplace_back((i * r) % 25);
                else p.emplace_back();
            }
            add.execute(p);
        }
        db->commitTrans();
    }
};

// The grid reads its record source again after the list, as the window's does.
class BenchGridWindow : public printtest::GridWindow {
public:
    void refreshGrid() override { grid = db().openRecordset(InitialRecordSource().sql); }
};

void readRows(benchmark::State &state, const QString &sql) {
    RaceSeries::open(int(state.range(0)));
    for (auto _ : state) {
        const Recordset rs = db().openRecordset(sql);
        benchmark::DoNotOptimize(rs.recordCount());
    }
    state.SetComplexityN(state.range(0));
    gDB.reset();
}

template <typename Print>
void layOut(benchmark::State &state, Print print) {
    RaceSeries::open(int(state.range(0)));
    BenchGridWindow window;
    window.refreshGrid();
    bench::LayoutControl control;
    for (auto _ : state) {
        print(window, control);
        benchmark::DoNotOptimize(control.shownDoc);
    }
    if (!control.shownDoc) state.SkipWithError("the list was not laid out");
    else state.counters["pages"] = double(control.shownDoc->pages.size());
    state.SetComplexityN(state.range(0));
    gDB.reset();
}

void BM_GridListReadRows(benchmark::State &state) { readRows(state, InitialRecordSource().sql); }
void BM_PL_PrintGrid(benchmark::State &state) {
    layOut(state, [](MainWindowApi &w, print::PrintControl &c) { PL_PrintGrid(w, c); });
}
void BM_IntermediateReadRows(benchmark::State &state) { readRows(state, intermediateStandingsQuery()); }
void BM_PL_PrintZwischenwertung(benchmark::State &state) {
    layOut(state, [](MainWindowApi &w, print::PrintControl &c) { PL_PrintZwischenwertung(w, c); });
}
void BM_ClubListReadRows(benchmark::State &state) { readRows(state, kClubQuery); }
void BM_PL_PrintVereinswertung(benchmark::State &state) {
    layOut(state, [](MainWindowApi &w, print::PrintControl &c) { PL_PrintVereinswertung(w, c); });
}

}  // namespace

#define LIST_BENCH(name) \
    BENCHMARK(name)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN)
LIST_BENCH(BM_GridListReadRows);
LIST_BENCH(BM_PL_PrintGrid);
LIST_BENCH(BM_IntermediateReadRows);
LIST_BENCH(BM_PL_PrintZwischenwertung);
LIST_BENCH(BM_ClubListReadRows);
LIST_BENCH(BM_PL_PrintVereinswertung);
