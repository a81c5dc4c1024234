// Scoring: one participant's sum, and the whole run over the table.
#include "import_support.h"

#include "core/scoring/Scoring.h"

#include <sqlite3.h>

using namespace tarnis;
using namespace tarnis::testing;

namespace {

TEST(CalcWertung, BestValuesUpToTheMaximum) {
    // the values of races 1..n after an unused 0, higher better, limits, the sum, qualified
    const std::tuple<std::vector<std::int32_t>, bool, RaceLimits, std::int32_t, bool> cases[] = {
        {{0, 25, 0, 18, 20, 16}, true, {3, 3}, 63, true},
        {{0, 2112, 2090, 0}, false, {3, 3}, 4202, false},
        {{0, 5, 1, 3}, false, {2, 2}, 4, true},       // lower is better: the smallest
        {{0, 5, 1, 3}, true, {2, 2}, 8, true},
        {{0, -4, 0, 7}, false, {1, 3}, 7, true},      // 0 and below never count
        {{0, -4, 0, 7}, true, {1, 3}, 7, true},
        {{0, 10, 10, 10}, true, {3, 2}, 20, false},   // maximum below minimum: nobody qualifies
        {{0, 0, 0}, true, {0, 3}, 0, true},           // minimum 0: everybody, without results too
        {{0}, true, {3, 3}, 0, false},                // no race columns
    };
    for (auto [values, higherBetter, limits, sum, qualifies] : cases) {  // a copy: the values get sorted
        bool qualified = !qualifies;
        EXPECT_EQ(CalcWertung(values, qualified, higherBetter, limits), sum) << ::testing::PrintToString(values);
        EXPECT_EQ(qualified, qualifies) << ::testing::PrintToString(values);
    }
}

using Scoring = SeriesFixture;

TEST_F(Scoring, FailureKeepsTheOldStandings) {
    // Z's sum overflows, after A was scored; both old totals are 999.
    gDB->execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Endwertung, "
                 "Zwischenwertung, Lauf_1_Punkte, Lauf_2_Punkte) VALUES ('A', 'V', 1970, 'M40', 'C', 999, 999, "
                 "10, 10), ('Z', 'V', 1970, 'M40', 'C', 999, 999, 2000000000, 2000000000)");
    SaveSetting("LastUser", "LaufAnzForEW", "1");
    gDB->execute("INSERT INTO Punkteverteilung VALUES (1, 25), (2, 20)");
    const auto totals = [] { return rows("SELECT Vorname, Endwertung, Zwischenwertung FROM Teilnehmer ORDER BY 1"); };
    const QStringList before = totals();
    EXPECT_FALSE(CountWertung());
    EXPECT_EQ(totals(), before);
    EXPECT_THAT(reports(), ElementsAre("6 CountWertung "));
    EXPECT_EQ(ui.progressCalls().last(), "hide");
    EXPECT_FALSE(gDB->inTransaction());

    // A count that is no number is reported the same way.
    ui.clearRecords();
    SaveSetting("LastUser", "LaufAnzForEW", "drei");
    EXPECT_FALSE(CountWertung());
    EXPECT_THAT(reports(), ElementsAre("13 CountWertung "));
    EXPECT_EQ(totals(), before);
}

// With neither race count stored, three races make the final standing and the
// best three of more are summed.
TEST_F(Scoring, RaceCountsTakeTheirDefaults) {
    openSeries(4, QStringLiteral("four.mdb"));
    gDB->execute("INSERT INTO Punkteverteilung VALUES (1, 25), (2, 20)");
    // the points of races 1 to 4, then Endwertung|Zwischenwertung
    const std::pair<const char *, const char *> cases[] = {
        {"25, 20, NULL, NULL", "0|45"},
        {"25, NULL, 20, 16", "61|0"},
        {"10, 25, 16, 20", "61|0"},
    };
    for (const auto &[points, totals] : cases) {
        SCOPED_TRACE(points);
        gDB->execute("DELETE FROM Teilnehmer");
        gDB->execute(QStringLiteral("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, "
                                    "Lauf_1_Punkte, Lauf_2_Punkte, Lauf_3_Punkte, Lauf_4_Punkte) "
                                    "VALUES ('A', 'V', 1970, 'M40', 'C', %1)").arg(points));
        EXPECT_TRUE(CountWertung());
        EXPECT_THAT(rows("SELECT Endwertung, Zwischenwertung FROM Teilnehmer"), ElementsAre(totals));
    }
}

TEST_F(Scoring, SeriesBeyondSixteenBitsAndAStaleRaceCount) {
    gDB->execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
                 "INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Lauf_3_Punkte) "
                 "SELECT 'N' || i, 'V', 1970, 'M40', 'C', i % 7 FROM n");
    SaveSetting("LastUser", "LaufAnzForEW", "1");
    SaveSetting("LastUser", "LaufAnzMaxForEW", "1");
    gRaceCount = 1;  // left from an earlier series: race 3 still counts
    EXPECT_TRUE(CountWertung());
    EXPECT_EQ(ui.progressCalls().first(), "show 40000");
    EXPECT_THAT(rows("SELECT count(*), sum(Endwertung), sum(Zwischenwertung) FROM Teilnehmer"),
                ElementsAre("40000|119997|0"));

    // The bar moves while the rows are read too (a quarter of the steps before the
    // first total is written), and ends at the row count.
    int steps = 0, whileReading = 0;
    const int changesBefore = sqlite3_total_changes(gDB->handle());
    gDB->beginTrans();
    scoreParticipants(*gDB, readScoringRules(25, 20), [&] {
        ++steps;
        if (sqlite3_total_changes(gDB->handle()) == changesBefore) ++whileReading;
    });
    gDB->commitTrans();
    EXPECT_EQ(steps, 40000);
    EXPECT_EQ(whileReading, 10000);
}

}  // namespace
