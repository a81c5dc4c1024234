// Scoring of 100,000 participants with 50 races in points and in time mode. The
// floor reads the same columns of every row and writes two totals per row with
// one bare prepared statement in one transaction. Scoring with the progress window
// shown tells what drawing the bar costs.
#include "core/db/Create.h"
#include "core/db/Globals.h"
#include "core/scoring/Scoring.h"
#include "core/services/forms/frmWorking.h"
#include "platform/settings/Settings.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <string>
#include <vector>

using namespace tarnis;

namespace {

constexpr int kParticipants = 100000;
constexpr int kRaces = 50;

struct ScoringSeries {
    QTemporaryDir dir;
    ScoringSeries() {
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        reloadSettings();
        const QString path = dir.filePath(QStringLiteral("series.mdb"));
        CreateSeriesFile(path, kRaces);
        gDB = Database::open(path);
        // Three races in four have a result.
        QString sql = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                     "INSERT INTO Teilnehmer SELECT 'Läufer ' || i, 'Eva', 1950 + i % 50, "
                                     "'K' || (i % 20), 'LG ' || (i % 300), 0, 0")
                          .arg(kParticipants);
        for (int r = 1; r <= kRaces; ++r)
            sql += QStringLiteral(", 'Stadtpark', '05.12.2026', CASE WHEN (i + %1) % 4 = 0 THEN NULL ELSE 1 + (i * %1) % 30 END"
                                  ", CASE WHEN (i + %1) % 4 = 0 THEN NULL ELSE printf('%02d:%02d', 20 + (i + %1) % 40, (i * %1) % 60) END")
                       .arg(r);
        sql += QStringLiteral(" FROM n");
        gDB->beginTrans();
        gDB->execute(sql);
        gDB->commitTrans();
    }
};

ScoringSeries &series() {
    static ScoringSeries s;
    return s;
}

void runScoring(benchmark::State &state, bool pointsMode, bool progressShown = false) {
    series();
    ScoringRules rules;
    rules.pointsMode = pointsMode;
    rules.higherBetter = pointsMode;
    rules.limits = {8, 10};
    // The main window on the screen, over which the progress window is drawn.
    QWidget owner;
    if (progressShown) {
        owner.resize(800, 600);
        owner.show();
        QCoreApplication::processEvents();
    }
    for (auto _ : state) {
        gDB->beginTrans();
        if (progressShown) {
            // The progress window drawn on the way, one step per participant.
            frmWorking window(&owner);
            window.start(kParticipants);
            scoreParticipants(*gDB, rules, [&window] { window.step(); });
        } else {
            scoreParticipants(*gDB, rules);
        }
        gDB->commitTrans();
    }
    state.SetItemsProcessed(state.iterations() * kParticipants);
}

void BM_ScoringPoints(benchmark::State &state) { runScoring(state, true); }
void BM_ScoringTimes(benchmark::State &state) { runScoring(state, false); }
void BM_ScoringPointsProgressShown(benchmark::State &state) { runScoring(state, true, true); }

struct Key {
    std::string vorname, zuname, klasse, verein;
    int jahrgang;
    int total;
};

std::string text(sqlite3_stmt *stmt, int i) {
    return std::string(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)), sqlite3_column_bytes(stmt, i));
}

void runFloor(benchmark::State &state, bool pointsMode) {
    series();
    std::string sql = "SELECT Vorname, Zuname, Jahrgang, Altersklasse, Verein";
    for (int r = 1; r <= kRaces; ++r)
        sql += ", Lauf_" + std::to_string(r) + (pointsMode ? "_Punkte" : "_Zeit");
    sql += " FROM Teilnehmer";
    sqlite3 *db = gDB->handle();
    for (auto _ : state) {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *read = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &read, nullptr);
        std::vector<Key> keys;
        while (sqlite3_step(read) == SQLITE_ROW) {
            Key k{text(read, 0), text(read, 1), text(read, 3), text(read, 4), sqlite3_column_int(read, 2), 0};
            for (int r = 0; r < kRaces; ++r)
                k.total += pointsMode ? sqlite3_column_int(read, 5 + r) : sqlite3_column_bytes(read, 5 + r);
            keys.push_back(std::move(k));
        }
        sqlite3_finalize(read);
        sqlite3_stmt *write = nullptr;
        sqlite3_prepare_v2(db,
                           "UPDATE Teilnehmer SET Endwertung = ?1, Zwischenwertung = ?2 WHERE Vorname = ?3 AND "
                           "Zuname = ?4 AND Jahrgang = ?5 AND Altersklasse = ?6 AND Verein = ?7",
                           -1, &write, nullptr);
        for (const Key &k : keys) {
            sqlite3_bind_int(write, 1, k.total);
            sqlite3_bind_int(write, 2, 0);
            sqlite3_bind_text(write, 3, k.vorname.data(), int(k.vorname.size()), SQLITE_STATIC);
            sqlite3_bind_text(write, 4, k.zuname.data(), int(k.zuname.size()), SQLITE_STATIC);
            sqlite3_bind_int(write, 5, k.jahrgang);
            sqlite3_bind_text(write, 6, k.klasse.data(), int(k.klasse.size()), SQLITE_STATIC);
            sqlite3_bind_text(write, 7, k.verein.data(), int(k.verein.size()), SQLITE_STATIC);
            if (sqlite3_step(write) != SQLITE_DONE) state.SkipWithError(sqlite3_errmsg(db));
            sqlite3_reset(write);
        }
        sqlite3_finalize(write);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    state.SetItemsProcessed(state.iterations() * kParticipants);
}

void BM_ScoringFloorPoints(benchmark::State &state) { runFloor(state, true); }
void BM_ScoringFloorTimes(benchmark::State &state) { runFloor(state, false); }

}  // namespace

BENCHMARK(BM_ScoringPoints)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScoringFloorPoints)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScoringPointsProgressShown)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScoringTimes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScoringFloorTimes)->Unit(benchmark::kMillisecond)->Iterations(3);
