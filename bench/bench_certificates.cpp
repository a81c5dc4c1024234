// The certificates of every finisher laid out with the real fonts (five lines, one
// centred), against the floor: reading the same rows with the same query.
#include "bench_layout_control.h"
#include "bench_series.h"
#include "print/Certificates.h"

#include <benchmark/benchmark.h>

using namespace tarnis;

namespace {

void storeLayout() {
    const char *lines[][4] = {
        // X-Pos, Y-Pos, Text, Inhalt
        {"0", "2000", "Urkunde", "Text"},
        {"1500", "4000", "Platz %s", "Platzierung"},
        {"1500", "5000", "%s, herzlichen Glückwunsch", "Gesamtname"},
        {"1500", "6000", "%s", "Verein"},
        {"1500", "7000", "Punkte: %s", "Endwertung"},
    };
    SaveSetting(QStringLiteral("Urkundendruck"), QStringLiteral("Urkundenzeilen"), QStringLiteral("5"));
    for (int n = 0; n < 5; ++n) {
        const QString key = QStringLiteral("Zeile %1").arg(n);
        SaveSetting(QStringLiteral("Urkundendruck"), key + QStringLiteral(" X-Pos"), QString::fromUtf8(lines[n][0]));
        SaveSetting(QStringLiteral("Urkundendruck"), key + QStringLiteral(" Y-Pos"), QString::fromUtf8(lines[n][1]));
        SaveSetting(QStringLiteral("Urkundendruck"), key + QStringLiteral(" Text"), QString::fromUtf8(lines[n][2]));
        SaveSetting(QStringLiteral("Urkundendruck"), key + QStringLiteral(" Inhalt"), QString::fromUtf8(lines[n][3]));
    }
}

void BM_CertificatesReadRows(benchmark::State &state) {
    bench::FinisherSeries series(int(state.range(0)), 20, 10);
    for (auto _ : state) {
        const Recordset rs = db().openRecordset(certificatesQuery(false, 0));
        benchmark::DoNotOptimize(rs.recordCount());
    }
    state.SetComplexityN(state.range(0));
}

void BM_PU_PrintUrkundeAlle(benchmark::State &state) {
    bench::FinisherSeries series(int(state.range(0)), 20, 10);
    storeLayout();
    printtest::FakeWindow window;
    bench::LayoutControl control;
    for (auto _ : state) {
        PU_PrintUrkundeAlle(window, control);
        benchmark::DoNotOptimize(control.shownDoc);
    }
    if (series.quiet.errors > 0 || !control.shownDoc || control.shownDoc->pages.size() != std::size_t(state.range(0))) {
        state.SkipWithError("the certificates were not laid out");
        return;
    }
    state.counters["pages"] = double(control.shownDoc->pages.size());
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_CertificatesReadRows)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_PU_PrintUrkundeAlle)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
