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

TEST(CalcWertung, SumBeyondThirtyTwoBitsIsAnOverflow) {
    std::vector<std::int32_t> values{0, 2000000000, 2000000000};
    bool qualifies = false;
    try {
        CalcWertung(values, qualifies, true, {1, 3});
        ADD_FAILURE();
    } catch (const AppError &e) {
        EXPECT_EQ(e.number, err::Overflow);
    }
}

class Scoring : public SeriesFixture {
protected:
    void addRow(const QString &vorname, const QStringList &points, const QStringList &times) {
        Params p{Value(vorname), Value(QStringLiteral("V")), Value(1970), Value(QStringLiteral("M40")),
                 Value(QStringLiteral("C")), Value(999), Value(999)};
        for (int i = 0; i < 3; ++i) {
            Value point, time;
            if (!points.value(i).isEmpty()) point = Value(points.value(i).toInt());
            if (!times.value(i).isEmpty()) time = Value(times.value(i));
            p.push_back(point);
            p.push_back(time);
        }
        gDB->execute(QStringLiteral("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, "
                                    "Verein, Endwertung, Zwischenwertung, Lauf_1_Punkte, Lauf_1_Zeit, "
                                    "Lauf_2_Punkte, Lauf_2_Zeit, Lauf_3_Punkte, Lauf_3_Zeit) "
                                    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)"),
                     p);
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

TEST_F(Scoring, PointsModeFollowsThePointsTable) {
    addRow(QStringLiteral("A'Neill"), {"25", "", "18"}, {});
    addRow(QStringLiteral("Bert"), {"20", "16", "-3"}, {});
    addRow(QStringLiteral("Carl"), {"0", "", ""}, {});
    setLimits("3", "3", "P");
    gDB->execute(QStringLiteral("INSERT INTO Punkteverteilung VALUES (1, 25), (2, 20), (3, 18)"));
    gRaceCount = 1;  // a stale count never leaves races out
    EXPECT_TRUE(CountWertung());
    EXPECT_THAT(totals(), ElementsAre("A'Neill|0|43", "Bert|0|36", "Carl|0|0"));

    setLimits("2", "2", "P");
    EXPECT_TRUE(CountWertung());
    EXPECT_THAT(totals(), ElementsAre("A'Neill|43|0", "Bert|36|0", "Carl|0|0"));

    // Points equal to the place (empty table): the lowest sums win, so the best places count.
    gDB->execute(QStringLiteral("DELETE FROM Punkteverteilung"));
    setLimits("1", "1", "P");
    EXPECT_TRUE(CountWertung());
    EXPECT_THAT(totals(), ElementsAre("A'Neill|18|0", "Bert|16|0", "Carl|0|0"));
    EXPECT_THAT(ui.messages(), IsEmpty());
    EXPECT_EQ(ui.progressCalls().first(), "show 3");
    EXPECT_EQ(ui.progressCalls().last(), "hide");
}

TEST_F(Scoring, TimeModeReadsTheTimeTexts) {
    addRow(QStringLiteral("A"), {"1", "1", "1"}, {"35:12", "34:50", ""});
    addRow(QStringLiteral("B"), {}, {"1:02:03", "5:12", "35:12 ak"});
    addRow(QStringLiteral("C"), {}, {"abc", "24:00:00", " "});
    setLimits("3", "3", "Z");
    EXPECT_TRUE(CountWertung());
    EXPECT_THAT(totals(), ElementsAre("A|0|4202", "B|0|22443", "C|0|0"));

    // "p" is not "P": still the times.
    setLimits("2", "2", "p");
    EXPECT_TRUE(CountWertung());
    EXPECT_THAT(totals(), ElementsAre("A|4202|0", "B|22443|0", "C|0|0"));
}

TEST_F(Scoring, EmptyTableOnlyTellsSo) {
    ui.answer(QStringLiteral("ok"));
    EXPECT_FALSE(CountWertung());
    EXPECT_THAT(ui.messages(), ElementsAre("information\tKeine Daten zum werten gefunden!"));
    EXPECT_THAT(ui.progressCalls(), IsEmpty());
}

TEST_F(Scoring, FailureKeepsTheOldStandings) {
    addRow(QStringLiteral("A"), {"10", "10", "10"}, {});
    addRow(QStringLiteral("Z"), {"2000000000", "2000000000", ""}, {});
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

TEST_F(Scoring, SeriesBeyondSixteenBits) {
    gDB->execute(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
        "INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Lauf_1_Punkte) "
        "SELECT 'N' || i, 'V', 1970, 'M40', 'C', i % 7 FROM n"));
    setLimits("1", "1", "P");
    EXPECT_TRUE(CountWertung());
    EXPECT_EQ(ui.progressCalls().first(), "show 40000");
    EXPECT_EQ(rows(gDB->openRecordset(QStringLiteral(
                  "SELECT count(*), sum(Endwertung), sum(Zwischenwertung) FROM Teilnehmer"))),
              QStringList{QStringLiteral("40000|119997|0")});
}

}  // namespace
