// Scoring: one participant's sum, and the whole run over the table.
#include "core/scoring/Scoring.h"
#include "import_support.h"

#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

TEST(CalcWertung, BestValuesUpToTheMaximum) {
    struct Case {
        std::vector<std::int32_t> races;  // races 1..n
        bool higherBetter;
        RaceLimits limits;
        std::int32_t sum;
        bool qualifies;
    };
    const Case cases[] = {
        {{25, 0, 18, 20, 16}, true, {3, 3}, 63, true},
        {{2112, 2090, 0}, false, {3, 3}, 4202, false},
        {{5, 1, 3}, false, {2, 2}, 4, true},       // lower is better: the smallest
        {{5, 1, 3}, true, {2, 2}, 8, true},
        {{-4, 0, 7}, false, {1, 3}, 7, true},      // 0 and below never count
        {{-4, 0, 7}, true, {1, 3}, 7, true},
        {{10, 10, 10}, true, {3, 2}, 20, false},   // maximum below minimum: nobody qualifies
        {{0, 0}, true, {0, 3}, 0, true},           // minimum 0: everybody, without results too
        {{}, true, {3, 3}, 0, false},              // no race columns
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.races));
        std::vector<std::int32_t> values{0};
        values.insert(values.end(), c.races.begin(), c.races.end());
        bool qualifies = !c.qualifies;
        EXPECT_EQ(CalcWertung(values, qualifies, c.higherBetter, c.limits), c.sum);
        EXPECT_EQ(qualifies, c.qualifies);
    }
}

class Scoring : public SeriesFixture {
protected:
    // A row whose old totals are both 999.
    void addRow(const QString &vorname, std::int64_t points1, std::int64_t points2) {
        gDB->execute(QStringLiteral("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, "
                                    "Endwertung, Zwischenwertung, Lauf_1_Punkte, Lauf_2_Punkte) "
                                    "VALUES (?1, 'V', 1970, 'M40', 'C', 999, 999, ?2, ?3)"),
                     {vorname, points1, points2});
    }
    // "Vorname End Zwischen" of every row.
    QStringList totals() {
        return rows(gDB->openRecordset(QStringLiteral(
            "SELECT Vorname, Endwertung, Zwischenwertung FROM Teilnehmer ORDER BY Vorname")));
    }
    void setLimits(const char *min, const char *max, const char *modus) {
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("LaufAnzForEW"), QString::fromLatin1(min));
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("LaufAnzMaxForEW"), QString::fromLatin1(max));
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("Modus"), QString::fromLatin1(modus));
    }
};

TEST_F(Scoring, FailureKeepsTheOldStandings) {
    addRow(QStringLiteral("A"), 10, 10);
    addRow(QStringLiteral("Z"), 2000000000, 2000000000);  // its sum overflows, after A was scored
    setLimits("1", "3", "P");
    gDB->execute(QStringLiteral("INSERT INTO Punkteverteilung VALUES (1, 25), (2, 20)"));
    const QStringList before = totals();
    EXPECT_FALSE(CountWertung());
    EXPECT_EQ(totals(), before);
    ASSERT_EQ(ui.errorReports().size(), 1);
    EXPECT_EQ(ui.errorReports().at(0).error.number, err::Overflow);
    EXPECT_EQ(ui.errorReports().at(0).procedure, "CountWertung");
    EXPECT_EQ(ui.errorReports().at(0).hint, QString());
    EXPECT_EQ(ui.progressCalls().last(), "hide");
    EXPECT_FALSE(gDB->inTransaction());

    // A count that is no number is reported the same way.
    ui.clearRecords();
    setLimits("drei", "3", "P");
    EXPECT_FALSE(CountWertung());
    ASSERT_EQ(ui.errorReports().size(), 1);
    EXPECT_EQ(ui.errorReports().at(0).error.number, err::TypeMismatch);
    EXPECT_EQ(totals(), before);
}

TEST_F(Scoring, SeriesBeyondSixteenBitsAndAStaleRaceCount) {
    gDB->execute(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
        "INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Lauf_3_Punkte) "
        "SELECT 'N' || i, 'V', 1970, 'M40', 'C', i % 7 FROM n"));
    setLimits("1", "1", "P");
    gRaceCount = 1;  // left from an earlier series: race 3 still counts
    EXPECT_TRUE(CountWertung());
    EXPECT_EQ(ui.progressCalls().first(), "show 40000");
    EXPECT_EQ(rows(gDB->openRecordset(QStringLiteral(
                  "SELECT count(*), sum(Endwertung), sum(Zwischenwertung) FROM Teilnehmer"))),
              QStringList{QStringLiteral("40000|119997|0")});
}

}  // namespace
