// The two table grids of the general page over a series file: edits written at
// once with bound values, refusals reported with the stored value shown again,
// the sort flags, and deleting an age class.
#include "core/import_support.h"
#include "prefs/TableModels.h"

using namespace tarnis;
using namespace tarnis::prefs;
using namespace tarnis::testing;

namespace {

class PrefsTables : public SeriesTest {
protected:
    void SetUp() override {
        SeriesTest::SetUp();
        openSeries(3);
    }
    // Every row of the model as "a|b"; the points grid's empty new row left out.
    static QStringList shown(const SnapshotTableModel &m) {
        QStringList out;
        const auto text = [&m](int r, int c) { return m.data(m.index(r, c), Qt::DisplayRole).toString(); };
        for (int r = 0; r < m.storedRowCount(); ++r) out << text(r, 0) + "|" + text(r, 1);
        return out;
    }
};

TEST_F(PrefsTables, AgeClassOrderEditsAndSorts) {
    gDB->execute(
        "INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES ('M40', 2), ('W35', 1), ('MHK', 3)");
    AgeClassModel akl(*gDB);
    akl.load("Index", true);
    EXPECT_THAT(shown(akl), ElementsAre("W35|1", "M40|2", "MHK|3"));
    EXPECT_FALSE(akl.flags(akl.index(0, 0)) & Qt::ItemIsEditable);

    // Only whole numbers reach the table.
    EXPECT_FALSE(akl.setData(akl.index(0, 1), "abc", Qt::EditRole));
    EXPECT_FALSE(akl.setData(akl.index(0, 1), "2.5", Qt::EditRole));
    EXPECT_TRUE(akl.setData(akl.index(0, 1), " 7 ", Qt::EditRole));
    EXPECT_THAT(rows("SELECT Altersklasse, \"Index\" FROM AKLSortIndex ORDER BY \"Index\""),
                ElementsAre("M40|2", "MHK|3", "W35|7"));
    // The edited class stays where it was, so the next row clicked is the one seen.
    EXPECT_THAT(shown(akl), ElementsAre("W35|7", "M40|2", "MHK|3"));

    // The flag belongs to the grid, not the column, and lasts for the run.
    ageClassSortFlag() = false;
    akl.headClick(1);
    EXPECT_THAT(shown(akl), ElementsAre("M40|2", "MHK|3", "W35|7"));
    akl.headClick(1);
    EXPECT_THAT(shown(akl), ElementsAre("W35|7", "MHK|3", "M40|2"));
    AgeClassModel reopened(*gDB);
    reopened.headClick(0);
    EXPECT_THAT(shown(reopened), ElementsAre("M40|2", "MHK|3", "W35|7"));
}

TEST_F(PrefsTables, PointsTakeNewRowsRefusalsAndDeletes) {
    gDB->execute("INSERT INTO Punkteverteilung (Platz, Punkte) VALUES (1, 10), (2, 8)");
    PointsModel points(*gDB);
    points.load("Platz", true);
    ASSERT_EQ(points.rowCount(), 3);  // the last row takes a new place

    // Points typed first wait for their place.
    EXPECT_TRUE(points.setData(points.index(2, 1), "6", Qt::EditRole));
    EXPECT_THAT(rows("SELECT * FROM Punkteverteilung"), ElementsAre("1|10", "2|8"));
    EXPECT_TRUE(points.setData(points.index(2, 0), "3", Qt::EditRole));
    EXPECT_THAT(rows("SELECT * FROM Punkteverteilung"), ElementsAre("1|10", "2|8", "3|6"));

    // A place taken twice is refused by the engine and reported; the grid shows the table.
    EXPECT_FALSE(points.setData(points.index(2, 0), "1", Qt::EditRole));
    EXPECT_THAT(reports(), ElementsAre("3022 dbgPlatzverteilung "));
    EXPECT_THAT(shown(points), ElementsAre("1|10", "2|8", "3|6"));
    EXPECT_FALSE(points.setData(points.index(0, 1), "zehn", Qt::EditRole));

    points.deleteRows({0, 2});
    EXPECT_THAT(rows("SELECT * FROM Punkteverteilung"), ElementsAre("2|8"));
    EXPECT_THAT(shown(points), ElementsAre("2|8"));
}

// Writes keep the grid's rows and its place: the cell where a new place was typed
// still points at that row, so Tab goes on to its points.
TEST_F(PrefsTables, PointsGridKeepsItsRowsAcrossWrites) {
    gDB->execute("INSERT INTO Punkteverteilung (Platz, Punkte) VALUES (1, 10)");
    PointsModel points(*gDB);
    pointsSortFlag() = true;
    points.headClick(0);  // descending: a new place still stays where it was typed
    const QPersistentModelIndex typed(points.index(1, 0));
    const QPersistentModelIndex stored(points.index(0, 1));

    ASSERT_TRUE(points.setData(typed, "2", Qt::EditRole));
    ASSERT_TRUE(typed.isValid());
    EXPECT_EQ(typed.row(), 1);
    EXPECT_EQ(points.rowCount(), 3);
    EXPECT_TRUE(points.setData(points.index(typed.row(), 1), "8", Qt::EditRole));
    EXPECT_THAT(rows("SELECT * FROM Punkteverteilung"), ElementsAre("1|10", "2|8"));
    EXPECT_THAT(shown(points), ElementsAre("1|10", "2|8"));

    // A delete keeps the cells above it where they were.
    points.deleteRows({1});
    ASSERT_TRUE(stored.isValid());
    EXPECT_EQ(stored.row(), 0);
    EXPECT_EQ(points.data(stored, Qt::DisplayRole).toString(), "10");
    EXPECT_EQ(points.rowCount(), 2);
}

TEST_F(PrefsTables, DeletingAnAgeClass) {
    addParticipants({"M40", "M40"});
    gDB->execute("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES ('M40', 1), ('O''Neil', 2)");

    // In use (compared as the engine compares): refused without a question.
    ui.answer("ok");
    EXPECT_FALSE(DeleteAgeClass(*gDB, "m40 "));
    // A quote in the name is data, not SQL.
    ui.answer("no");
    EXPECT_FALSE(DeleteAgeClass(*gDB, "O'Neil"));
    ui.answer("yes");
    ui.answer("ok");
    EXPECT_TRUE(DeleteAgeClass(*gDB, " O'Neil"));
    const QString really = "critical\tO'Neil wirklich löschen?";
    EXPECT_THAT(ui.messages(), ElementsAre("information\tEs gibt noch Teilnehmer für diese Altersklasse!",
                                           really, really, "information\tDatensatz erfolgreich gelöscht!"));
    EXPECT_THAT(rows("SELECT Altersklasse FROM AKLSortIndex"), ElementsAre("M40"));

    // A class already gone: said so.
    ui.answer("yes");
    ui.answer("ok");
    EXPECT_FALSE(DeleteAgeClass(*gDB, "W99"));
    EXPECT_EQ(ui.messages().last(), "information\tDaten konnten nicht gelöscht werden!");
}

}  // namespace
