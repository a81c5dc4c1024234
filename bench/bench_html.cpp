// The final standings page for growing series; its floor is the reading of the same
// rows with the same query (BM_FinalStandingsReadRows in bench_print.cpp).
#include "bench_series.h"
#include "export/FinalStandingsHtml.h"

#include <QFile>
#include <benchmark/benchmark.h>

using namespace tarnis;

namespace {

void BM_HtmlExportEndwertung(benchmark::State &state) {
    bench::FinisherSeries series(int(state.range(0)), 20, 10);
    const QString page = series.dir.filePath(QStringLiteral("Endwertung.html"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(page);
        state.ResumeTiming();
        HTML_ExportEndwertung(page);
    }
    if (series.quiet.errors > 0 || !QFile::exists(page)) state.SkipWithError("the page was not written");
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_HtmlExportEndwertung)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
