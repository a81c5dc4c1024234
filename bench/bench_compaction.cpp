// Compaction of a series file (backup copy, compaction, replacement) against the
// floor of the bare compaction of the same file, for growing series.
#include "core/db/Create.h"
#include "core/db/Globals.h"
#include "core/db/Maintenance.h"
#include "platform/settings/Settings.h"
#include "platform/ui/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tarnis;

namespace {

constexpr int kRaces = 10;

// A series of `participants` rows with three races entered, a third of them deleted
// again so that compaction has free pages to drop.
struct CompactionSeries {
    QTemporaryDir dir;
    ScriptedUi scripted;
    QString path;

    explicit CompactionSeries(int participants) : path(dir.filePath(QStringLiteral("series.mdb"))) {
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        reloadSettings();
        setUi(&scripted);
        CreateSeriesFile(path, kRaces);
        auto database = Database::open(path);
        database->beginTrans();
        Statement insert = database->prepare(QStringLiteral(
            "INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Lauf_1_Ort, Lauf_1_Datum, "
            "Lauf_1_Punkte, Lauf_1_Zeit, Lauf_2_Ort, Lauf_2_Datum, Lauf_2_Punkte, Lauf_2_Zeit, Lauf_3_Ort, "
            "Lauf_3_Datum, Lauf_3_Punkte, Lauf_3_Zeit) VALUES (?1, 'Vorname', ?2, ?3, ?4, 'Ulm', '01.05.2026', ?5, "
            "'00:41:13', 'Ehingen', '12.06.2026', ?5, '00:39:55', 'Blaubeuren', '03.07.2026', ?5, '00:40:02')"));
        for (int i = 0; i < participants; ++i)
            insert.execute({QStringLiteral("Läufer %1").arg(i), 1950 + i % 50, QStringLiteral("M%1").arg(20 + i % 12 * 5),
                            QStringLiteral("Verein %1").arg(i % 300), i % 100});
        database->commitTrans();
        database->execute(QStringLiteral("DELETE FROM Teilnehmer WHERE Jahrgang % 3 = 0"));
    }
};

void BM_DB_Compact(benchmark::State &state) {
    CompactionSeries series(int(state.range(0)));
    gDBPath = series.path;
    for (auto _ : state) {
        state.PauseTiming();
        gDB = Database::open(gDBPath);
        state.ResumeTiming();
        DB_Compact();
    }
    if (!series.scripted.errorReports().isEmpty()) state.SkipWithError("compaction failed");
    gDB.reset();
    state.SetComplexityN(state.range(0));
}

// The floor: the engine's compaction of the same file alone.
void BM_CompactFloor(benchmark::State &state) {
    CompactionSeries series(int(state.range(0)));
    const QString target = series.path + QStringLiteral("_floor");
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(target);
        state.ResumeTiming();
        CompactDatabase(series.path, target);
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_DB_Compact)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_CompactFloor)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
