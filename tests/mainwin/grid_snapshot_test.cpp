// The participant grid's compact snapshot: every cell as the engine gives it, and
// a large series held in little memory.
#include "core/db/Create.h"
#include "mainwin/GridSnapshot.h"

#include <QTemporaryDir>
#include <gmock/gmock.h>

using namespace tarnis;

namespace {

// Each column holds more distinct values than the one before needs codes for
// (1, 2 and 4 bytes), with Nulls, numbers, reals, texts and a column of mixed
// types where 3 and "3" stay apart.
TEST(GridSnapshotTest, HoldsEveryCellAsTheEngineGivesIt) {
    QTemporaryDir dir;
    auto db = Database::create(dir.filePath("mixed.db"));
    const QString sql = QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 70000) "
        "SELECT i AS Nummer, i % 300 AS Gruppe, CASE WHEN i % 4 = 0 THEN NULL ELSE 'Stadtpark' END AS Ort, "
        "i * 0.5 AS Halb, 'Läuferin ' || i AS Name, "
        "CASE i % 3 WHEN 0 THEN NULL WHEN 1 THEN i % 5 ELSE '' || (i % 5) END AS Gemischt, "
        "-5000000000 * (i % 2) AS Gross FROM n WHERE i > ?1 ORDER BY i DESC");
    const Recordset expected = db->openRecordset(sql, {Value(5)});
    const GridSnapshot snap = GridSnapshot::read(*db, sql, {Value(5)});
    ASSERT_EQ(snap.rowCount(), 69995);
    EXPECT_EQ(snap.fieldNames(), expected.columns());
    int differing = 0;
    for (int r = 0; r < snap.rowCount(); ++r)
        for (int c = 0; c < snap.columnCount(); ++c) {
            const Value &want = expected.rows()[r][c];
            const QString shown = want.isReal() ? QString::number(want.toDouble(), 'g', 15) : want.textOrEmpty();
            if (!(snap.value(r, c) == want) || snap.text(r, c) != shown) ++differing;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(snap.text(0, 3), "35000");
    for (const auto &[row, column] : {std::pair{-1, 0}, {69995, 0}, {0, -1}, {0, 7}}) {
        EXPECT_TRUE(snap.value(row, column).isNull());
        EXPECT_EQ(snap.text(row, column), QString());
    }
}

// A 50-race series whose runners ran a few races each: a few hundred bytes a row
// where a cell per value took about 7 KB.
TEST(GridSnapshotTest, MostlyEmptyRaceColumnsTakeLittleRoom) {
    QTemporaryDir dir;
    const QString path = dir.filePath("series.mdb");
    CreateSeriesFile(path, 50);
    auto db = Database::open(path);
    QString insert = QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
        "INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Endwertung, Zwischenwertung");
    for (int race = 1; race <= 3; ++race)
        insert += QStringLiteral(", Lauf_%1_Ort, Lauf_%1_Datum, Lauf_%1_Punkte, Lauf_%1_Zeit").arg(race);
    insert += QStringLiteral(") SELECT 'Läufer ' || i, 'Eva', 1950 + i % 50, 'K' || (i % 20), 'LG ' || (i % 300), 0, 0");
    for (int race = 1; race <= 3; ++race)
        insert += QStringLiteral(", 'Stadtpark', '0%1.05.2026', 1 + i % 30, printf('%02d:%02d', 20 + i % 40, i % 60)")
                      .arg(race);
    db->execute(insert + QStringLiteral(" FROM n"));
    const GridSnapshot snap = GridSnapshot::read(*db, QStringLiteral("select * from Teilnehmer order by Verein"));
    ASSERT_EQ(snap.rowCount(), 5000);
    ASSERT_EQ(snap.columnCount(), 207);
    EXPECT_LT(snap.cellBytes() / 5000, 400u);
}

}  // namespace
