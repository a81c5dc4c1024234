// The HTML pages, the press lists and the mail merge on a series of
// 100,000 participants with 50 races, each against its floor: reading the same rows
// with the same query (the grid page: the grid's record source).
#include "bench_series.h"
#include "export/ClubHtml.h"
#include "export/GridHtml.h"
#include "export/IntermediateHtml.h"
#include "export/MailMerge.h"
#include "export/PressLists.h"
#include "core/services/MainWindowApi.h"
#include "print/FinalStandingsList.h"
#include "print/IntermediateRows.h"

#include "../tests/common/NullMainWindow.h"

#include <QFile>
#include <benchmark/benchmark.h>

using namespace tarnis;

namespace {

constexpr int kRaces = 50;
const QString kGridSource = QStringLiteral("select * from Teilnehmer order by Jahrgang, Altersklasse, Zuname, Vorname asc");

// 20 classes; every participant has run 10 of the 50 races, and every fifth has no
// final total yet.
struct StandingsSeries : bench::FinisherSeries {
    explicit StandingsSeries(int participants) : bench::FinisherSeries(participants, 20, kRaces) {
        gDB->beginTrans();
        gDB->execute(QStringLiteral("UPDATE Teilnehmer SET Zwischenwertung = Endwertung, Endwertung = 0"
                                    " WHERE Jahrgang % 5 = 0"));
        for (int n = 1; n <= kRaces; ++n)
            gDB->execute(QStringLiteral("UPDATE Teilnehmer SET Lauf_%1_Punkte = %2, Lauf_%1_Zeit = '41:05'"
                                        " WHERE (Jahrgang + %1) % 5 = 0")
                             .arg(n)
                             .arg(n % 40 + 1));
        gDB->commitTrans();
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("MaxLaufErf"), QString::number(kRaces));
    }
};

// The grid's snapshot as the window holds it, columns as the grid shows them in
// points mode: venue and date captioned "***", the time columns hidden.
class SnapshotGrid : public tarnis::testing::NullMainWindow {
public:
    explicit SnapshotGrid(Recordset rows) : rs(std::move(rows)) {}
    Recordset rs;
    int gridRowCount() const override { return rs.recordCount(); }
    int gridColumnCount() const override { return rs.fieldCount(); }
    QString gridColumnCaption(int c) const override {
        const QString name = rs.fieldName(c);
        return name.endsWith(u"_Ort") || name.endsWith(u"_Datum") ? QStringLiteral("***") : name;
    }
    bool gridColumnVisible(int c) const override { return !rs.fieldName(c).endsWith(u"_Zeit"); }
    QString gridCell(int r, int c) const override { return rs.rows()[r][c].textOrEmpty(); }
};

template <typename Export>
void timeExport(benchmark::State &state, const QString &name, Export run) {
    StandingsSeries series(int(state.range(0)));
    const QString file = series.dir.filePath(name);
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(file);
        state.ResumeTiming();
        run(file);
    }
    if (series.quiet.errors > 0 || !QFile::exists(file)) state.SkipWithError("the file was not written");
    state.SetComplexityN(state.range(0));
}

template <typename Query>
void timeQuery(benchmark::State &state, Query sql) {
    StandingsSeries series(int(state.range(0)));
    for (auto _ : state) {
        const Recordset rs = db().openRecordset(sql());
        benchmark::DoNotOptimize(rs.recordCount());
    }
    state.SetComplexityN(state.range(0));
}

void BM_GridSourceReadRows(benchmark::State &state) { timeQuery(state, [] { return kGridSource; }); }
void BM_HTML_ExportGrid(benchmark::State &state) {
    StandingsSeries series(int(state.range(0)));
    SnapshotGrid grid(db().openRecordset(kGridSource));
    const QString file = series.dir.filePath(QStringLiteral("Anzeige.html"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(file);
        state.ResumeTiming();
        HTML_ExportGrid(file, grid);
    }
    if (series.quiet.errors > 0 || !QFile::exists(file)) state.SkipWithError("the page was not written");
    state.SetComplexityN(state.range(0));
}

void BM_ClubQueryReadRows(benchmark::State &state) { timeQuery(state, [] { return clubStandingsQuery(); }); }
void BM_HTML_ExportVereinswertung(benchmark::State &state) {
    timeExport(state, QStringLiteral("Vereinswertung.html"), [](const QString &f) { HTML_ExportVereinswertung(f); });
}

void BM_MailMergeReadRows(benchmark::State &state) { timeQuery(state, [] { return mailMergeQuery(0); }); }
// The mail merge asks for its file itself, and whether to replace the last one.
class MailMergeUi : public bench::QuietUi {
public:
    QString saveFileName(const FileDialogRequest &) override { return file; }
};

void BM_EI_Export(benchmark::State &state) {
    StandingsSeries series(int(state.range(0)));
    MailMergeUi answers;
    answers.file = series.dir.filePath(QStringLiteral("Serienbrief.txt"));
    answers.answer = MsgAnswer::Yes;
    setUi(&answers);
    for (auto _ : state) EI_Export();
    if (answers.errors > 0 || !QFile::exists(answers.file)) state.SkipWithError("the file was not written");
    setUi(&series.quiet);
    state.SetComplexityN(state.range(0));
}

void BM_FinalReadRows50(benchmark::State &state) { timeQuery(state, [] { return finalStandingsQuery(0); }); }
void BM_PRESSE_ExportEndwertung(benchmark::State &state) {
    timeExport(state, QStringLiteral("Presseliste (EW).txt"), [](const QString &f) { PRESSE_ExportEndwertung(f); });
}

void BM_IntermediateReadRows(benchmark::State &state) { timeQuery(state, [] { return intermediateStandingsQuery(); }); }
void BM_HTML_ExportZwischenwertung(benchmark::State &state) {
    timeExport(state, QStringLiteral("Zwischenwertung.html"), [](const QString &f) { HTML_ExportZwischenwertung(f); });
}
void BM_PRESSE_ExportZwischenwertung(benchmark::State &state) {
    timeExport(state, QStringLiteral("Presseliste (ZW).txt"), [](const QString &f) { PRESSE_ExportZwischenwertung(f); });
}

// The class page reads one of the 20 classes.
void BM_OneClassReadRows(benchmark::State &state) {
    StandingsSeries series(int(state.range(0)));
    for (auto _ : state) {
        const Recordset rs = db().openRecordset(oneClassQuery(), {QStringLiteral("K3")});
        benchmark::DoNotOptimize(rs.recordCount());
    }
    state.SetComplexityN(state.range(0));
}
void BM_HTML_ExportGruppe(benchmark::State &state) {
    timeExport(state, QStringLiteral("K3.html"), [](const QString &f) { HTML_ExportGruppe(f, QStringLiteral("K3")); });
}

}  // namespace

#define TARNIS_EXPORT_BENCH(fn) \
    BENCHMARK(fn)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN)
TARNIS_EXPORT_BENCH(BM_GridSourceReadRows);
TARNIS_EXPORT_BENCH(BM_HTML_ExportGrid);
TARNIS_EXPORT_BENCH(BM_ClubQueryReadRows);
TARNIS_EXPORT_BENCH(BM_HTML_ExportVereinswertung);
TARNIS_EXPORT_BENCH(BM_MailMergeReadRows);
TARNIS_EXPORT_BENCH(BM_EI_Export);
TARNIS_EXPORT_BENCH(BM_FinalReadRows50);
TARNIS_EXPORT_BENCH(BM_PRESSE_ExportEndwertung);
TARNIS_EXPORT_BENCH(BM_IntermediateReadRows);
TARNIS_EXPORT_BENCH(BM_HTML_ExportZwischenwertung);
TARNIS_EXPORT_BENCH(BM_PRESSE_ExportZwischenwertung);
TARNIS_EXPORT_BENCH(BM_OneClassReadRows);
TARNIS_EXPORT_BENCH(BM_HTML_ExportGruppe);
