// The series file: schema and creation, points per place and their direction, the
// age-class order, compaction and repair.
#include "common/DiskFull.h"
#include "import_support.h"

#include "core/db/AklSortIndex.h"
#include "core/db/Maintenance.h"
#include "core/db/PunkteRichtung.h"
#include "core/import/Punkteverteilung.h"
#include "platform/text/Clock.h"

#include <QDir>
#include <QScopeGuard>
#include <map>

using namespace tarnis;
using namespace tarnis::testing;
using ::testing::UnorderedElementsAre;
using ::testing::StartsWith;

namespace {

using SeriesFile = SeriesTest;

TEST_F(SeriesFile, SchemaTextRulesAndCreation) {
    // name, declared type, not null, position in the key (0: none)
    const auto describe = [](const char *table) {
        return rows("SELECT name, type, \"notnull\", pk FROM pragma_table_info(?1) ORDER BY cid", {table});
    };
    for (int races : {1, 9, 10, 50}) {
        openSeries(races, QStringLiteral("s%1.mdb").arg(races));
        QStringList expected{"Vorname|TEXT|1|1",      "Zuname|TEXT|1|2",      "Jahrgang|INTEGER|1|3",
                             "Altersklasse|TEXT|1|4", "Verein|TEXT|1|5",      "Endwertung|INTEGER|0|0",
                             "Zwischenwertung|INTEGER|0|0"};
        for (int n = 1; n <= races; ++n)
            for (const char *field : {"Ort|TEXT", "Datum|TEXT", "Punkte|INTEGER", "Zeit|TEXT"})
                expected << QStringLiteral("Lauf_%1_%2|0|0").arg(n).arg(QLatin1String(field));
        EXPECT_EQ(describe("Teilnehmer"), expected) << races;
    }
    EXPECT_THAT(describe("AKLSortIndex"), ElementsAre("Altersklasse|TEXT|1|1", "Index|INTEGER|0|0"));
    EXPECT_THAT(describe("Punkteverteilung"), ElementsAre("Platz|INTEGER|1|1", "Punkte|INTEGER|0|0"));

    // Unwritten fields are Null; texts are refused empty, over 50 characters or as a
    // duplicate key in any case, umlauts included.
    gDB->execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Lauf_2_Datum) "
                 "VALUES ('Kühn', 'Ida', 1980, 'W40', 'TV', ' ')");
    EXPECT_THAT(rows("SELECT Endwertung, Zwischenwertung, Lauf_1_Ort, Lauf_1_Punkte, Lauf_2_Zeit, Lauf_2_Datum "
                     "FROM Teilnehmer"),
                ElementsAre("<null>|<null>|<null>|<null>|<null>| "));
    gDB->execute("INSERT INTO AKLSortIndex VALUES ('M40', 1), ('Müller', 2), ('Muller', 3)");
    const std::pair<QString, int> texts[] = {{"", err::EmptyText},         {QString(51, 'x'), err::TextTooLong},
                                             {"m40", err::DuplicateKey},  {"MÜLLER", err::DuplicateKey},
                                             {QString(50, 'x'), 0},       {" ", 0}};
    for (const auto &[text, error] : texts)
        EXPECT_EQ(errorOf([&] { gDB->execute("INSERT INTO AKLSortIndex VALUES (?1, 0)", {text}); }), error)
            << text.toStdString();
    EXPECT_EQ(errorOf([] { gDB->execute("UPDATE Teilnehmer SET Lauf_1_Ort = ''"); }), err::EmptyText);

    // Creation reports, and never touches an existing file.
    gDB.reset();
    ui.answer("ok");
    DB_CreateDatabase(path("neu.mdb"), 3);
    EXPECT_EQ(Database::open(path("neu.mdb"))->tableColumns("Teilnehmer").size(), 19);
    writeBytes("not a series file", "fremd.mdb");
    for (const char *name : {"fremd.mdb", "neu.mdb", "fehlt/x.mdb"}) DB_CreateDatabase(path(name), 3);
    EXPECT_EQ(fileBytes(path("fremd.mdb")), "not a series file");
    EXPECT_FALSE(QFile::exists(path("fehlt/x.mdb")));
    EXPECT_THAT(ui.messages(), ElementsAre("information\tDatenbank  : <work>/neu.mdb\\nerfolgreich angelegt !",
                                           "error\t3204\t\t", "error\t3204\t\t", "error\t3044\t\t"));
    EXPECT_FALSE(gDB);
}

TEST_F(SeriesFile, PointsLookupsDirectionAndAgeClassOrder) {
    openSeries(1);
    const auto setPoints = [](const std::vector<std::pair<int, Value>> &places) {
        gDB->execute("DELETE FROM Punkteverteilung");
        for (const auto &[place, points] : places)
            gDB->execute("INSERT INTO Punkteverteilung VALUES (?1, ?2)", {place, points});
    };
    // the rows of the table, the direction, and place -> points
    const std::tuple<const char *, std::vector<std::pair<int, Value>>, int, std::vector<std::pair<std::int64_t, int>>>
        cases[] = {
            {"empty", {}, 0, {{1, 0}, {0, 0}}},
            {"only place 2", {{2, 20}}, 2, {{1, 0}, {2, 20}}},
            {"equal", {{1, 10}, {2, 10}}, 0, {{2, 10}}},
            {"null first", {{1, Value()}, {2, 5}}, 2, {{1, 0}, {2, 5}}},
            {"null below", {{1, 25}, {2, 20}, {3, Value()}}, 1, {{3, 0}, {4, 0}}},
            {"full", {{1, 25}, {2, 20}, {3, 16}}, 1, {{1, 25}, {3, 16}, {4, 0}, {0, 0}, {-1, 0}}},
            {"gap", {{1, 10}, {3, 6}}, 1, {{2, 0}, {3, 6}}},
            {"places below 1", {{0, 5}, {-4, 9}}, 0, {{0, 0}, {1, 0}, {-4, 0}}},
            {"huge place", {{1, 50}, {2000000000, 1}}, 1, {{2000000000, 1}, {1999999999, 0}, {2000000001, 0}}},
        };
    for (const auto &[what, places, direction, lookups] : cases) {
        SCOPED_TRACE(what);
        setPoints(places);
        PointsTable table;
        std::int32_t fallback = 7;
        EI_LoadPunkteverteilung(table, fallback);
        EXPECT_EQ(fallback, 0);
        for (const auto &[place, points] : lookups) EXPECT_EQ(EI_GetPunkte(place, table, fallback), points) << place;
        // the scoring takes its direction from the loaded table: both must agree
        EXPECT_EQ(DB_GetPunkteRichtung(*gDB), direction);
        EXPECT_EQ(PunkteRichtung(EI_GetPunkte(1, table, 0), EI_GetPunkte(2, table, 0)), direction);
    }
    // A reload replaces earlier values only when the table has rows.
    PointsTable table;
    for (const auto &places : {std::vector<std::pair<int, Value>>{{1, 25}, {2, 20}}, {{1, 9}}, {}}) {
        setPoints(places);
        table.load(*gDB);
    }
    EXPECT_EQ(std::pair(table.points(1), table.points(2)), std::pair(9, 0));
    gDB->execute("DROP TABLE Punkteverteilung");
    EXPECT_EQ(DB_GetPunkteRichtung(*gDB), 0);

    // The age-class order gets the missing classes and keeps the existing ones.
    gDB->execute("INSERT INTO AKLSortIndex VALUES ('M40', 7)");
    addParticipants({"m40", "W35", "M'50", "W35"});
    DB_FillAKLSortIndex(*gDB);
    EXPECT_THAT(rows("SELECT * FROM AKLSortIndex ORDER BY 1"), ElementsAre("M'50|0", "M40|7", "W35|0"));
    EXPECT_FALSE(gDB->inTransaction());
}

TEST_F(SeriesFile, CompactionAndRepair) {
    setFixedNow(QDateTime(QDate(2026, 12, 5), QTime(12, 0)));
    const auto realClock = qScopeGuard([] { setFixedNow(QDateTime()); });
    openSeries(3);
    gDB->execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                 "INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein) "
                 "SELECT 'Läufer ' || i, 'Eva', 1970, 'M40', 'LG' FROM n");
    gDB->execute("DELETE FROM Teilnehmer WHERE Vorname > 'Läufer 5'");  // free pages to compact away
    const QByteArray before = fileBytes(gDBPath);
    const QStringList content = allRows();
    // A folder in the way of the backup copy, then of the compacted copy.
    for (const QString blocked : {"series.mdb_05.12.2026", "series.mdb_new"}) {
        SCOPED_TRACE(blocked.toStdString());
        ui.clearRecords();
        QFile::remove(path("series.mdb_05.12.2026"));
        ASSERT_TRUE(QDir(dir.path()).mkpath(blocked + "/inhalt"));
        DB_Compact();
        EXPECT_EQ(ui.messages().size(), 1);  // the error dialog, no completion message
        EXPECT_EQ(ui.errorReports().value(0).procedure, "DB_Compact");
        EXPECT_EQ(fileBytes(gDBPath), before);
        EXPECT_TRUE(gDB && gDB->isOpen() && !ui.busy());
        EXPECT_FALSE(QFileInfo(path("series.mdb_new")).isFile());  // a refused backup compacts nothing
        QDir(path(blocked)).removeRecursively();
    }
    ui.clearRecords();
    ui.answer("ok");
    DB_Compact();
    EXPECT_THAT(ui.messages(), ElementsAre("information\tKomprimierung der Datenbank abgeschlossen !"));
    EXPECT_THAT(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                UnorderedElementsAre("series.mdb", "series.mdb_05.12.2026", "series.mdb_new"));
    EXPECT_EQ(fileBytes(path("series.mdb_05.12.2026")), before);
    EXPECT_EQ(fileBytes(gDBPath), fileBytes(path("series.mdb_new")));
    EXPECT_LT(fileBytes(gDBPath).size(), before.size());
    EXPECT_TRUE(!gDB->isOpen() && !ui.busy());
    gDB = Database::open(gDBPath);
    EXPECT_EQ(allRows(), content);
    // A second run on the same day replaces that day's backup with the compacted state.
    const QByteArray compacted = fileBytes(gDBPath);
    ui.answer("ok");
    DB_Compact();
    EXPECT_EQ(fileBytes(path("series.mdb_05.12.2026")), compacted);

    // Repair of a healthy file keeps its content; a damaged one is reported and left as it was.
    gDB = Database::open(gDBPath);
    ui.clearRecords();
    ui.answer("ok");
    DB_Repair();
    EXPECT_THAT(ui.messages(), ElementsAre("information\tReperatur der Datenbank abgeschlossen !"));
    EXPECT_FALSE(gDB->isOpen());
    gDB = Database::open(gDBPath);
    EXPECT_EQ(allRows(), content);
    DB_CloseAll();
    EXPECT_FALSE(gDB->isOpen());
    QByteArray damaged = fileBytes(gDBPath);
    ASSERT_GT(damaged.size(), 12288);
    for (int i = 8192; i < 12288; ++i) damaged[i] = char(0xA5 ^ i);
    writeBytes(damaged, "series.mdb");
    ui.clearRecords();
    DB_Repair();
    EXPECT_THAT(reports(), ElementsAre("3049 DB_Repair "));
    EXPECT_EQ(fileBytes(gDBPath), damaged);
    EXPECT_FALSE(ui.busy());
    gDB.reset();
    DB_CloseAll();  // nothing open: still no failure
}

// Compaction on a write-protected, a damaged, an interrupted or a filling disk's file:
// the series file and the day's good backup are never lost, and every failure is told.
class Compaction : public SeriesTest {
protected:
    void SetUp() override {
        SeriesTest::SetUp();
        setFixedNow(QDateTime(QDate(2026, 12, 5), QTime(12, 0)));
        openSeries(3);
        gDB->execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1500) "
                     "INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein) "
                     "SELECT 'Läufer ' || i, 'Eva', 1970, 'M40', 'LG' FROM n");
        gDB->execute("DELETE FROM Teilnehmer WHERE Vorname > 'Läufer 5'");
        // A class too long, as an older version stored it through a NUL: no damage to the file.
        gDB->execute("PRAGMA ignore_check_constraints = 1");
        gDB->execute("UPDATE Teilnehmer SET Altersklasse = ?1 WHERE Vorname = 'Läufer 1'",
                     {QString("M40") + QChar(0) + QString(58, 'x')});
        participants = int(gDB->openRecordset("SELECT count(*) FROM Teilnehmer").field(0).toLong());
        gDB->close();
    }
    void TearDown() override {
        setFixedNow(QDateTime());
        SeriesTest::TearDown();
    }
    QStringList files() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot);
    }
    const QString backup = path("series.mdb_05.12.2026");
    int participants = 0;
};

TEST_F(Compaction, NeverLosesTheFileOrTheDaysGoodBackup) {
    ASSERT_TRUE(QFile::copy(gDBPath, backup));
    const QByteArray before = fileBytes(gDBPath), good = fileBytes(backup);

    // Write-protected: refused before anything is written.
    QFile::setPermissions(gDBPath, QFile::ReadOwner | QFile::ReadGroup);
    DB_Compact();
    EXPECT_THAT(reports(), ElementsAre("3027 DB_Compact "));
    EXPECT_THAT(files(), UnorderedElementsAre("series.mdb", "series.mdb_05.12.2026"));
    QFile::setPermissions(gDBPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    // Moved away: told as moved, never as write-protected.
    ASSERT_TRUE(QFile::rename(gDBPath, path("woanders.mdb")));
    ui.clearRecords();
    DB_Compact();
    EXPECT_THAT(ui.errorReports().value(0).error.description.toStdString(),
                ::testing::HasSubstr("series.mdb' wurde verschoben oder gelöscht"));
    EXPECT_THAT(files(), UnorderedElementsAre("woanders.mdb", "series.mdb_05.12.2026"));
    ASSERT_TRUE(QFile::rename(path("woanders.mdb"), gDBPath));

    // The disk fills up while the backup is written: the old backup stays, the file too.
    const std::string answer = inChild(
        [this] {
            ui.clearRecords();
            DB_Compact();
            return reports().join('\n').toStdString();
        },
        rlim_t(before.size() / 2));
    EXPECT_EQ(answer, "3051 DB_Compact ");
    EXPECT_EQ(fileBytes(backup), good);
    EXPECT_EQ(fileBytes(gDBPath), before);
    EXPECT_THAT(files(), UnorderedElementsAre("series.mdb", "series.mdb_05.12.2026"));

    // What a run killed half-way left is cleared by the next one, which goes through.
    writeBytes("halb", "series.mdb_new.tmp");
    writeBytes("halb", "series.mdb_new.tmp-journal");
    writeBytes("halb", ".series.mdb.tmp-Ab12Cd");
    writeBytes("halb", ".series.mdb_05.12.2026.tmp-Ab12Cd");
    gDB->close();
    ui.clearRecords();
    ui.answer("ok");
    DB_Compact();
    EXPECT_THAT(ui.messages(), ElementsAre("information\tKomprimierung der Datenbank abgeschlossen !"));
    EXPECT_THAT(files(), UnorderedElementsAre("series.mdb", "series.mdb_05.12.2026", "series.mdb_new"));
    EXPECT_EQ(fileBytes(backup), before);
    EXPECT_EQ(fileBytes(path("series.mdb_new")), fileBytes(gDBPath));
    // A repair clears what a killed repair left.
    writeBytes("halb", "series.mdb.repair");
    ui.answer("ok");
    DB_Repair();
    EXPECT_THAT(files(), UnorderedElementsAre("series.mdb", "series.mdb_05.12.2026", "series.mdb_new"));

    // Damaged beyond repair: reported before the day's good backup is touched.
    QByteArray damaged = fileBytes(gDBPath);
    for (int i = 4096; i < damaged.size(); ++i) damaged[i] = char(0xA5 ^ i);
    writeBytes(damaged, "series.mdb");
    ui.clearRecords();
    DB_Compact();
    EXPECT_THAT(reports().join('\n').toStdString(), StartsWith("3049 DB_Compact"));
    EXPECT_EQ(fileBytes(backup), before);
    EXPECT_EQ(fileBytes(gDBPath), damaged);
    EXPECT_THAT(files(), UnorderedElementsAre("series.mdb", "series.mdb_05.12.2026", "series.mdb_new"));
    gDB.reset();
}

// Each size of a small disk in turn, from too small for the backup to room for all:
// either the compaction is reported done and the file holds every participant, or the
// failure is reported and the file is byte for byte the old one.
TEST_F(Compaction, OnAFillingDiskEitherDoneOrOldFileKept) {
    const QByteArray before = fileBytes(gDBPath);
    const QString disk = path("disk");
    ASSERT_TRUE(QDir().mkpath(disk));
    std::map<std::string, int> outcomes;
    for (qint64 size = before.size(); size < 4 * before.size(); size += 4096) {
        const std::string answer = inChild([&] {
            if (!mountSmallDisk(disk, size)) return std::string("no mount");
            const QString file = disk + "/series.mdb";
            if (!QFile::copy(gDBPath, file)) return std::string("no copy");
            gDBPath = file;
            ui.clearRecords();
            ui.answer("ok");
            DB_Compact();
            const bool done = ui.messages().value(0).startsWith("information");
            const bool same = fileBytes(file) == before;
            const int count = int(Database::open(file)->openRecordset("SELECT count(*) FROM Teilnehmer")
                                             .field(0).toLong());
            const QStringList left = QDir(disk).entryList(QDir::Files | QDir::Hidden);
            std::string what = done ? "done" : same ? "kept" : "LOST";
            if (!done && left.contains("series.mdb_new")) what += " after _new";
            if (count != participants || left.filter(".tmp").size() > 0) what += " BAD " + left.join(',').toStdString();
            return what;
        });
        if (answer == "no mount") GTEST_SKIP() << "no small disk can be mounted here";
        EXPECT_THAT(answer, ::testing::AnyOf("done", "kept", "kept after _new")) << size;
        ++outcomes[answer];
    }
    EXPECT_GT(outcomes["kept"], 0);
    EXPECT_GT(outcomes["kept after _new"], 0);  // the last copy over the file failed
    EXPECT_GT(outcomes["done"], 0);
}

}  // namespace
