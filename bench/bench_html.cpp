// The final standings page against the floor of reading the same rows with the same
// query, for growing series.
#include "core/db/Create.h"
#include "core/db/Globals.h"
#include "export/FinalStandingsHtml.h"
#include "platform/settings/Settings.h"
#include "platform/ui/Ui.h"
#include "print/FinalStandingsList.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tarnis;

namespace {

// Answers nothing and counts the error dialogs, so a failing run is not timed as a fast one.
class SilentUi : public Ui {
public:
    int errors = 0;
    MsgAnswer message(const QString &, MsgButtons, MsgIcon, const QString &) override { return MsgAnswer::Yes; }
    QString openFileName(const FileDialogRequest &) override { return {}; }
    QString saveFileName(const FileDialogRequest &) override { return {}; }
    std::optional<int> pickRace(int) override { return std::nullopt; }
    std::optional<QString> pickAgeClass(const QStringList &) override { return std::nullopt; }
    std::optional<QString> inputText(const QString &, const QString &, const QString &) override { return std::nullopt; }
    ErrorChoice errorDialog(const ErrorReport &) override {
        ++errors;
        return ErrorChoice::Continue;
    }
    void showProgress(int) override {}
    void stepProgress() override {}
    void hideProgress() override {}
    void setBusy(bool) override {}
    void endProgram() override {}
};

constexpr int kRaces = 10;

// A series of `participants` finishers in 20 classes, opened as the program's database.
struct Series {
    QTemporaryDir dir;
    SilentUi silent;

    explicit Series(int participants) {
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        reloadSettings();
        setUi(&silent);
        const QString path = dir.filePath(QStringLiteral("series.mdb"));
        CreateSeriesFile(path, kRaces);
        gDB = Database::open(path);
        gDB->beginTrans();
        Statement cls = gDB->prepare(QStringLiteral("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES (?1, ?2)"));
        for (int c = 0; c < 20; ++c) cls.execute({QStringLiteral("M%1").arg(20 + c * 5), c});
        Statement tn = gDB->prepare(QStringLiteral(
            "INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Endwertung, Zwischenwertung)"
            " VALUES (?1, ?2, ?3, ?4, ?5, ?6, 0)"));
        for (int i = 0; i < participants; ++i)
            tn.execute({QStringLiteral("Läufer %1").arg(i), QStringLiteral("Vorname"), 1950 + i % 50,
                        QStringLiteral("M%1").arg(20 + (i % 20) * 5), QStringLiteral("Verein & Co %1").arg(i % 300),
                        std::int64_t(1 + (i * 7919) % 5000)});
        gDB->commitTrans();
    }
    ~Series() {
        gDB.reset();
        setUi(nullptr);
    }
};

void BM_ReadFinalStandingsRows(benchmark::State &state) {
    Series series(int(state.range(0)));
    for (auto _ : state) {
        const Recordset rs = db().openRecordset(finalStandingsQuery(0));
        benchmark::DoNotOptimize(rs.recordCount());
    }
    state.SetComplexityN(state.range(0));
}

void BM_HtmlExportEndwertung(benchmark::State &state) {
    Series series(int(state.range(0)));
    const QString page = series.dir.filePath(QStringLiteral("Endwertung.html"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(page);
        state.ResumeTiming();
        HTML_ExportEndwertung(page);
    }
    if (series.silent.errors > 0 || !QFile::exists(page)) state.SkipWithError("the page was not written");
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_ReadFinalStandingsRows)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_HtmlExportEndwertung)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
