// The printed final standings laid out with the real fonts, for growing series,
// and the floor of both final-standings outputs: reading the same rows with the
// same query.
#include "bench_layout.h"
#include "bench_series.h"
#include "print/FinalStandingsList.h"

#include <benchmark/benchmark.h>

using namespace tarnis;

namespace {

using bench::LayoutControl;

void BM_FinalStandingsReadRows(benchmark::State &state) {
    bench::FinisherSeries series(int(state.range(0)), 20, 10);
    for (auto _ : state) {
        const Recordset rs = db().openRecordset(finalStandingsQuery(0));
        benchmark::DoNotOptimize(rs.recordCount());
    }
    state.SetComplexityN(state.range(0));
}

void BM_PL_PrintEndwertung(benchmark::State &state) {
    bench::FinisherSeries series(int(state.range(0)), 20, 10);
    printtest::FakeWindow window;
    LayoutControl control;
    for (auto _ : state) {
        PL_PrintEndwertung(window, control);
        benchmark::DoNotOptimize(control.shownDoc);
    }
    if (series.quiet.errors > 0 || !control.shownDoc) {
        state.SkipWithError("the list was not laid out");
        return;
    }
    state.counters["pages"] = double(control.shownDoc->pages.size());
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_FinalStandingsReadRows)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_PL_PrintEndwertung)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
