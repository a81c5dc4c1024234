#include "db_support.h"

#include "core/db/AklSortIndex.h"
#include "core/db/Maintenance.h"
#include "core/db/PunkteRichtung.h"
#include "core/import/Punkteverteilung.h"
#include "platform/text/Clock.h"

#include <QDirIterator>
#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::seriestest;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

namespace {

using PointsRows = std::vector<std::pair<int, Value>>;

void setPoints(Database &database, const PointsRows &rows) {
    database.execute("DELETE FROM Punkteverteilung");
    for (const auto &[place, points] : rows)
        database.execute("INSERT INTO Punkteverteilung (Platz, Punkte) VALUES (?1, ?2)", {place, points});
}

}  // namespace

class SeriesPoints : public SeriesTest {};

TEST_F(SeriesPoints, DirectionAgreesWithThePointsOfPlacesOneAndTwo) {
    Database &database = openSeries(1);
    const struct {
        const char *what;
        PointsRows rows;
        int direction;
    } cases[] = {{"empty", {}, 0},
                 {"only place 1", {{1, 25}}, 1},
                 {"only place 2", {{2, 20}}, 2},
                 {"equal", {{1, 10}, {2, 10}}, 0},
                 {"rising", {{1, 1}, {2, 2}}, 2},
                 {"null first", {{1, Value()}, {2, 5}}, 2},
                 {"null below", {{1, 25}, {2, 20}, {3, Value()}}, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        setPoints(database, c.rows);
        EXPECT_EQ(DB_GetPunkteRichtung(database), c.direction);
        // The scoring takes its direction from the loaded table: both must agree.
        PointsTable table;
        std::int32_t fallback = -1;
        EI_LoadPunkteverteilung(table, fallback);
        EXPECT_EQ(PunkteRichtung(EI_GetPunkte(1, table, fallback), EI_GetPunkte(2, table, fallback)), c.direction);
    }
    database.execute("DROP TABLE Punkteverteilung");
    EXPECT_EQ(DB_GetPunkteRichtung(database), 0);
}

TEST_F(SeriesPoints, LookupsByPlace) {
    Database &database = openSeries(1);
    const struct {
        const char *what;
        PointsRows rows;
        std::vector<std::pair<std::int64_t, int>> lookups;
    } cases[] = {
        {"full", {{1, 25}, {2, 20}, {3, 16}}, {{1, 25}, {3, 16}, {4, 0}, {0, 0}, {-1, 0}}},
        {"gap", {{1, 10}, {3, 6}}, {{2, 0}, {3, 6}}},
        {"empty", {}, {{1, 0}, {0, 0}}},
        {"only place 0", {{0, 5}}, {{0, 0}, {1, 0}}},
        {"null points", {{1, Value()}, {2, 5}}, {{1, 0}, {2, 5}}},
        {"negative place", {{-4, 9}, {1, 3}}, {{1, 3}, {-4, 0}}},
        {"huge place", {{1, 50}, {2000000000, 1}}, {{1, 50}, {2000000000, 1}, {1999999999, 0}, {2000000001, 0}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        setPoints(database, c.rows);
        PointsTable table;
        std::int32_t fallback = 7;
        EI_LoadPunkteverteilung(table, fallback);
        EXPECT_EQ(fallback, 0);
        for (const auto &[place, points] : c.lookups) EXPECT_EQ(EI_GetPunkte(place, table, fallback), points) << place;
    }
}

TEST_F(SeriesPoints, ReloadReplacesEarlierValuesOnlyWhenTheTableHasRows) {
    Database &database = openSeries(1);
    setPoints(database, {{1, 25}, {2, 20}, {3, 16}});
    PointsTable table;
    table.load(database);
    setPoints(database, {{1, 9}});
    table.load(database);
    EXPECT_EQ(table.points(1), 9);
    EXPECT_EQ(table.points(2), 0);
    setPoints(database, {});
    table.load(database);
    EXPECT_EQ(table.points(1), 9);
    table.clear();
    EXPECT_EQ(table.points(1), 0);
}

class SeriesAgeClasses : public SeriesTest {};

TEST_F(SeriesAgeClasses, FillAddsMissingClassesAndKeepsExistingOrder) {
    Database &database = openSeries(1);
    database.execute("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES ('M40', 7)");
    addParticipant("Abel", "m40");
    addParticipant("Bauer", "W35");
    addParticipant("Coen", "M'50");
    addParticipant("Dorn", "W35");
    DB_FillAKLSortIndex(database);
    const Recordset rs = database.openRecordset("SELECT Altersklasse, \"Index\" FROM AKLSortIndex ORDER BY 1");
    QStringList rows;
    for (const auto &row : rs.rows()) rows << row[0].toText() + '=' + row[1].toText();
    EXPECT_THAT(rows, ElementsAre("M'50=0", "M40=7", "W35=0"));
    EXPECT_FALSE(database.inTransaction());
}

class SeriesMaintenance : public SeriesTest {
protected:
    void SetUp() override {
        SeriesTest::SetUp();
        setFixedNow(QDateTime(QDate(2026, 12, 5), QTime(12, 0)));
        openSeries(3);
        gDB->beginTrans();
        for (int i = 0; i < 2000; ++i) addParticipant(QStringLiteral("Läufer %1").arg(i), "M40");
        gDB->commitTrans();
        gDB->execute("DELETE FROM Teilnehmer WHERE Vorname > 'Läufer 5'");  // free pages to compact away
    }
    void TearDown() override {
        setFixedNow(QDateTime());
        SeriesTest::TearDown();
    }
    QStringList filesInFolder() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }
    int participants() {
        return int(Database::open(gDBPath)->openRecordset("SELECT count(*) FROM Teilnehmer").field(0).toLong());
    }
};

TEST_F(SeriesMaintenance, CompactionLeavesBackupAndCompactedCopy) {
    const QByteArray before = fileBytes(gDBPath);
    const int rows = participants();
    scripted.answer("ok");
    DB_Compact();
    EXPECT_THAT(scripted.messages(), ElementsAre("information\tKomprimierung der Datenbank abgeschlossen !"));
    EXPECT_THAT(filesInFolder(), UnorderedElementsAre("series.mdb", "series.mdb_05.12.2026", "series.mdb_new"));
    EXPECT_EQ(fileBytes(path("series.mdb_05.12.2026")), before);
    EXPECT_EQ(fileBytes(gDBPath), fileBytes(path("series.mdb_new")));
    EXPECT_LT(fileBytes(gDBPath).size(), before.size());
    EXPECT_FALSE(gDB->isOpen());
    EXPECT_FALSE(scripted.busy());
    EXPECT_EQ(participants(), rows);

    // A second run on the same day replaces that day's backup with the compacted state.
    const QByteArray compacted = fileBytes(gDBPath);
    gDB = Database::open(gDBPath);
    scripted.answer("ok");
    DB_Compact();
    EXPECT_EQ(fileBytes(path("series.mdb_05.12.2026")), compacted);
    EXPECT_EQ(filesInFolder().size(), 3);
}

TEST_F(SeriesMaintenance, FailedCompactionIsReportedAndLeavesTheDatabase) {
    const QByteArray before = fileBytes(gDBPath);
    // A folder in the way of the backup copy, then of the compacted copy.
    for (const char *blocked : {"series.mdb_05.12.2026", "series.mdb_new"}) {
        SCOPED_TRACE(blocked);
        scripted.clearRecords();
        QFile::remove(path("series.mdb_05.12.2026"));
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("%1/inhalt").arg(QLatin1String(blocked))));
        DB_Compact();
        ASSERT_EQ(scripted.errorReports().size(), 1);
        EXPECT_EQ(scripted.errorReports().front().procedure, "DB_Compact");
        EXPECT_EQ(scripted.messages().size(), 1);  // no completion message
        EXPECT_EQ(fileBytes(gDBPath), before);
        EXPECT_TRUE(gDB && gDB->isOpen());
        EXPECT_FALSE(scripted.busy());
        // A refused backup compacts nothing.
        EXPECT_FALSE(QFileInfo(path("series.mdb_new")).isFile());
        QDir(path(QString::fromLatin1(blocked))).removeRecursively();
    }
}

TEST_F(SeriesMaintenance, RepairOfHealthyAndDamagedFiles) {
    const int rows = participants();
    scripted.answer("ok");
    DB_Repair();
    EXPECT_THAT(scripted.messages(), ElementsAre("information\tReperatur der Datenbank abgeschlossen !"));
    EXPECT_FALSE(gDB->isOpen());
    EXPECT_EQ(participants(), rows);

    QByteArray damaged = fileBytes(gDBPath);
    ASSERT_GT(damaged.size(), 12288);
    for (int i = 8192; i < 12288; ++i) damaged[i] = char(0xA5 ^ i);
    writeFile(gDBPath, damaged);
    scripted.clearRecords();
    DB_Repair();
    ASSERT_EQ(scripted.errorReports().size(), 1);
    EXPECT_EQ(scripted.errorReports().front().procedure, "DB_Repair");
    EXPECT_EQ(scripted.errorReports().front().error.number, err::DamagedDatabase);
    EXPECT_EQ(fileBytes(gDBPath), damaged);
    EXPECT_FALSE(scripted.busy());

    DB_CloseAll();
    EXPECT_FALSE(gDB->isOpen());
    gDB.reset();
    DB_CloseAll();  // nothing open: still no failure
}
