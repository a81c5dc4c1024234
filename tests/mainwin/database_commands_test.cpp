// The commands of the "&Datenbank" menu over a series file of three races.
#include "common/NullMainWindow.h"
#include "core/import_support.h"
#include "mainwin/Dispatch.h"
#include "mainwin/commands/DatabaseCommands.h"
#include "platform/text/Clock.h"

#include <QDir>
#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::testing;
using ::testing::ElementsAre;

namespace {

// Records what the commands ask of the window; the load sequence opens gDBPath again.
class FakeWindow : public NullMainWindow {
public:
    QStringList calls;

    void refreshGrid() override { calls << QStringLiteral("refresh"); }
    void UpdateTeilnehmerAnzahl() override { calls << QStringLiteral("count"); }
    void Form_Load() override {
        calls << QStringLiteral("load");
        gDB = Database::open(gDBPath);
    }
    void SetupGrid() override { calls << QStringLiteral("setup"); }
};

class DatabaseCommands : public SeriesFixture {
protected:
    void SetUp() override {
        SeriesFixture::SetUp();
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("MaxLaufErf"), QStringLiteral("5"));
        gDBPath = path(QStringLiteral("series.mdb"));
        gCurDir = QDir::currentPath();
        gDB->execute(QStringLiteral("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, "
                                    "Endwertung, Lauf_1_Ort, Lauf_1_Punkte, Lauf_1_Zeit, Lauf_2_Punkte, Lauf_2_Zeit) "
                                    "VALUES ('Alt', 'Anna', 1970, 'W50', 'LG', 45, 'Wald', 25, '35:00', 20, '40:00')"));
        gDB->execute(QStringLiteral("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES ('W50', 1)"));
        gDB->execute(QStringLiteral("INSERT INTO Punkteverteilung (Platz, Punkte) VALUES (1, 25)"));
    }
    void TearDown() override {
        setFixedNow(QDateTime());
        SeriesFixture::TearDown();
    }
    QString race(int n) {
        return rows(gDB->openRecordset(QStringLiteral("SELECT Endwertung, Lauf_%1_Ort, Lauf_%1_Punkte, "
                                                      "Lauf_%1_Zeit FROM Teilnehmer").arg(n)))
            .join(QLatin1Char(';'));
    }
    int count(const char *table) {
        return gDB->openRecordset(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(table))
            .rows()
            .front()
            .front()
            .toText()
            .toInt();
    }
    // Runs the command as the dispatcher does, so that its failure rule applies.
    void click(int id) {
        const Command command = LogicCommand(id);
        ASSERT_TRUE(command);
        RunCommand(id, [&] { command(window); });
    }
    FakeWindow window;
};

TEST_F(DatabaseCommands, RaceDeletion) {
    // Closing the picker cancels, although race 2 is stored from before.
    ui.answer(QStringLiteral("race"), QString());
    click(20011);
    // "Nein" to the question changes nothing.
    ui.answer(QStringLiteral("race 1"));
    ui.answer(QStringLiteral("no"));
    click(20011);
    EXPECT_EQ(race(1), "45|Wald|25|35:00");
    EXPECT_TRUE(window.calls.isEmpty());

    // "Ja": points 0 and a blank time, venue and totals kept; race 2 untouched.
    ui.answer(QStringLiteral("race 1"));
    ui.answer(QStringLiteral("yes"));
    click(20011);
    EXPECT_EQ(race(1), "45|Wald|0| ");
    EXPECT_EQ(race(2), "45|<null>|20|40:00");
    EXPECT_THAT(window.calls, ElementsAre("refresh"));
    EXPECT_THAT(ui.messages(), ElementsAre("critical\tLauf wirklich löschen?", "critical\tLauf wirklich löschen?"));
}

TEST_F(DatabaseCommands, RaceDeletionRefusesAStoredPrefixThatIsNoRaceOfTheFile) {
    // Race 5 may be offered, but this file holds three: reported, nothing written.
    ui.answer(QStringLiteral("race 5"));
    ui.answer(QStringLiteral("yes"));
    click(20011);
    ASSERT_EQ(ui.errorReports().size(), 1);
    EXPECT_EQ(ui.errorReports()[0].error.number, err::ItemNotFound);
    EXPECT_EQ(ui.errorReports()[0].procedure, "mnuLaufLöschen");
    EXPECT_EQ(race(1), "45|Wald|25|35:00");
    EXPECT_TRUE(window.calls.isEmpty());
}

TEST_F(DatabaseCommands, TableDeletions) {
    struct Case {
        int id;
        const char *question;
        std::vector<int> left;  // rows of Teilnehmer, AKLSortIndex, Punkteverteilung after "Ja"
        QStringList calls;
    };
    const Case cases[] = {
        {20014, "Sortier-Index wirklich löschen?", {1, 0, 1}, {"refresh"}},
        {20013, "Punkteverteilung wirklich löschen?", {1, 0, 0}, {"refresh"}},
        {20012, "Datenbestand wirklich löschen?", {0, 0, 0}, {"refresh", "count"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id);
        window.calls.clear();
        ui.clearRecords();
        const std::vector<int> before{count("Teilnehmer"), count("AKLSortIndex"), count("Punkteverteilung")};
        ui.answer(QStringLiteral("no"));
        click(c.id);
        EXPECT_EQ((std::vector<int>{count("Teilnehmer"), count("AKLSortIndex"), count("Punkteverteilung")}), before);
        ui.answer(QStringLiteral("yes"));
        click(c.id);
        EXPECT_EQ((std::vector<int>{count("Teilnehmer"), count("AKLSortIndex"), count("Punkteverteilung")}), c.left);
        EXPECT_EQ(window.calls, c.calls);
        const QString question = QStringLiteral("critical\t") + QString::fromUtf8(c.question);
        EXPECT_THAT(ui.messages(), ElementsAre(question, question));
    }
}

TEST_F(DatabaseCommands, ConfirmedDeletionsThatFailAreReported) {
    // A read-only series: each failure goes to the error dialog under its command's name.
    gDB->execute(QStringLiteral("PRAGMA query_only = ON"));
    const std::pair<int, const char *> cases[] = {
        {20011, "mnuLaufLöschen"}, {20014, "mnuAKLLöschen"}, {20013, "mnuPKTloeschen"}, {20012, "mnuAllesLöschen"}};
    for (const auto &[id, procedure] : cases) {
        ui.clearRecords();
        if (id == 20011) ui.answer(QStringLiteral("race 1"));
        ui.answer(QStringLiteral("yes"));
        click(id);
        ASSERT_EQ(ui.errorReports().size(), 1) << id;
        EXPECT_EQ(ui.errorReports()[0].procedure, QString::fromUtf8(procedure));
    }
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_EQ(count("Teilnehmer"), 1);
}

TEST_F(DatabaseCommands, RepairAndCompactionLoadAgain) {
    ui.answer(QStringLiteral("ok"));
    ui.answer(QStringLiteral("ok"));
    click(20020);
    click(20030);
    EXPECT_THAT(ui.messages(), ElementsAre("information\tReperatur der Datenbank abgeschlossen !",
                                           "information\tKomprimierung der Datenbank abgeschlossen !"));
    EXPECT_THAT(window.calls, ElementsAre("load", "load"));
    EXPECT_EQ(race(1), "45|Wald|25|35:00");
}

TEST_F(DatabaseCommands, BackupAndRestore) {
    setFixedNow(QDateTime(QDate(2026, 3, 7), QTime(9, 0)));
    const QString backup = path(QStringLiteral("sicherung.mdb"));

    // Cancelled: nothing closed or reloaded.
    ui.answer(QStringLiteral("file"), QString());
    click(20041);
    ASSERT_EQ(ui.fileRequests().size(), 1);
    EXPECT_EQ(ui.fileRequests()[0].title, "Pfad für Sicherung ...");
    EXPECT_EQ(ui.fileRequests()[0].fileName, "Teilnehmer_07.03.2026.mdb");
    EXPECT_EQ(ui.fileRequests()[0].filter, "Microsoft Access (*.mdb)");
    EXPECT_TRUE(window.calls.isEmpty());

    ui.answer(QStringLiteral("file"), backup);
    click(20041);
    EXPECT_THAT(window.calls, ElementsAre("load"));
    EXPECT_FALSE(ui.busy());

    gDB->execute(QStringLiteral("DELETE FROM Teilnehmer"));
    // A file that is no series file, and "Nein" to the question, keep the current data.
    const QString text = writeBytes("kein Datenbestand\n", QStringLiteral("text.mdb"));
    ui.answer(QStringLiteral("file"), text);
    ui.answer(QStringLiteral("ok"));
    ui.answer(QStringLiteral("file"), backup);
    ui.answer(QStringLiteral("no"));
    window.calls.clear();
    ui.clearRecords();
    click(20042);
    click(20042);
    EXPECT_EQ(ui.messages().size(), 2);
    EXPECT_TRUE(ui.messages()[0].startsWith(QStringLiteral("critical\t"))) << ui.messages()[0].toStdString();
    EXPECT_EQ(ui.messages()[1], "critical\tSoll die aktuelle Datenbank\\nwirklich überschrieben werden?");
    EXPECT_EQ(ui.fileRequests()[0].fileName, QString());
    EXPECT_EQ(count("Teilnehmer"), 0);
    EXPECT_TRUE(window.calls.isEmpty());

    // "Ja": the backup's rows are back and the columns are set up again.
    ui.answer(QStringLiteral("file"), backup);
    ui.answer(QStringLiteral("yes"));
    click(20042);
    EXPECT_THAT(window.calls, ElementsAre("load", "setup"));
    EXPECT_EQ(race(1), "45|Wald|25|35:00");
}

TEST_F(DatabaseCommands, FailedCopiesAreReportedAndTheDatabaseIsOpenedAgain) {
    // Backup into a folder that does not exist; restore of the open file onto itself.
    ui.answer(QStringLiteral("file"), path(QStringLiteral("fehlt/sicherung.mdb")));
    ui.answer(QStringLiteral("ok"));
    click(20041);
    ui.answer(QStringLiteral("file"), gDBPath);
    ui.answer(QStringLiteral("yes"));
    ui.answer(QStringLiteral("ok"));
    click(20042);
    ASSERT_EQ(ui.messages().size(), 3);
    EXPECT_TRUE(ui.messages()[0].startsWith(QStringLiteral("critical\tDie Datei")));
    EXPECT_TRUE(ui.messages()[2].startsWith(QStringLiteral("critical\tDie Datei")));
    EXPECT_THAT(window.calls, ElementsAre("load", "load", "setup"));
    EXPECT_EQ(race(1), "45|Wald|25|35:00");
    EXPECT_FALSE(ui.busy());
}

}  // namespace
