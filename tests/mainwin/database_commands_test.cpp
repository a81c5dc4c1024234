// The "&Datenbank" commands where they can fail or be cancelled; a race deletion,
// a backup and a restore that succeed are a season case.
#include "common/NullMainWindow.h"
#include "core/import_support.h"
#include "mainwin/Dispatch.h"
#include "platform/text/Clock.h"

#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::testing;
using ::testing::ElementsAre;

namespace {

// Records the window calls; the load sequence opens gDBPath again.
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
        gDB->execute(QStringLiteral("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, "
                                    "Lauf_1_Punkte, Lauf_1_Zeit) VALUES ('Alt', 'Anna', 1970, 'W50', 'LG', 25, '35:00')"));
        gDB->execute(QStringLiteral("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES ('W50', 1)"));
        gDB->execute(QStringLiteral("INSERT INTO Punkteverteilung (Platz, Punkte) VALUES (1, 25)"));
    }
    // Rows of Teilnehmer, AKLSortIndex and Punkteverteilung, and race 1 of the runner.
    QStringList state() {
        return rows(gDB->openRecordset(QStringLiteral(
            "SELECT (SELECT count(*) FROM Teilnehmer), (SELECT count(*) FROM AKLSortIndex), "
            "(SELECT count(*) FROM Punkteverteilung), (SELECT Lauf_1_Punkte || Lauf_1_Zeit FROM Teilnehmer)")));
    }
    // Runs the command as the dispatcher does, with its failure rule.
    void click(int id) {
        const Command command = LogicCommand(id);
        RunCommand(id, [&] { command(window); });
    }
    FakeWindow window;
};

TEST_F(DatabaseCommands, DeletionsAskAndReportTheirFailure) {
    struct Case {
        int id;
        QStringList answers;
        QStringList after;  // state()
        QStringList calls;
    };
    const Case cases[] = {
        // Closing the race picker cancels, although race 2 is stored from before.
        {20011, {"race"}, {"1|1|1|2535:00"}, {}},
        {20011, {"race 1", "no"}, {"1|1|1|2535:00"}, {}},
        {20014, {"no"}, {"1|1|1|2535:00"}, {}},
        {20014, {"yes"}, {"1|0|1|2535:00"}, {"refresh"}},
        {20013, {"yes"}, {"1|0|0|2535:00"}, {"refresh"}},
        {20012, {"yes"}, {"0|0|0|<null>"}, {"refresh", "count"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id);
        window.calls.clear();
        for (const QString &a : c.answers) ui.answer(a);
        click(c.id);
        EXPECT_EQ(state(), c.after);
        EXPECT_EQ(window.calls, c.calls);
    }
    EXPECT_TRUE(ui.errorReports().isEmpty());
    window.calls.clear();

    // A read-only file, and a race the picker offers but this file of three does not
    // hold: the error dialog names the command, nothing is written or refreshed.
    gDB->execute(QStringLiteral("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein) "
                                "VALUES ('Berg', 'Bernd', 1975, 'M45', 'TV')"));
    ui.answer(QStringLiteral("race 5"));
    ui.answer(QStringLiteral("yes"));
    click(20011);
    gDB->execute(QStringLiteral("PRAGMA query_only = ON"));
    ui.answer(QStringLiteral("race 1"));
    for (int id : {20011, 20014, 20013, 20012}) {
        ui.answer(QStringLiteral("yes"));
        click(id);
    }
    QStringList reported;
    for (const ErrorReport &r : ui.errorReports()) reported << QString::number(r.error.number) + ' ' + r.procedure;
    EXPECT_THAT(reported, ElementsAre("3265 mnuLaufLöschen", "3027 mnuLaufLöschen", "3027 mnuAKLLöschen",
                                      "3027 mnuPKTloeschen", "3027 mnuAllesLöschen"));
    EXPECT_EQ(gDB->openRecordset(QStringLiteral("SELECT count(*) FROM Teilnehmer")).rows().front().front().toText(),
              "1");
    EXPECT_TRUE(window.calls.isEmpty());
}

TEST_F(DatabaseCommands, BackupAndRestoreThatCannotCopyKeepTheDatabase) {
    setFixedNow(QDateTime(QDate(2026, 3, 7), QTime(9, 0)));
    // Cancelled backup; backup into a folder that is missing; restore of a file that
    // is no series file; restore of the open file onto itself.
    for (const char *a : {"file", "file fehlt/sicherung.mdb", "ok", "file text.mdb", "ok", "file series.mdb", "yes", "ok"})
        ui.answer(QString::fromUtf8(a));
    ui.setWorkFolder(dir.path());
    writeBytes("kein Datenbestand\n", QStringLiteral("text.mdb"));
    for (int id : {20041, 20041, 20042, 20042}) click(id);
    setFixedNow(QDateTime());

    const FileDialogRequest &offered = ui.fileRequests().front();
    EXPECT_EQ(offered.title + '|' + offered.filter + '|' + offered.fileName,
              "Pfad für Sicherung ...|Microsoft Access (*.mdb)|Teilnehmer_07.03.2026.mdb");
    EXPECT_EQ(ui.fileRequests()[2].title + '|' + ui.fileRequests()[2].fileName, "Datei für restauration ...|");
    EXPECT_THAT(ui.messages(),
                ElementsAre("critical\tDie Datei \"<work>/series.mdb\" konnte nicht nach \"<work>/fehlt/sicherung.mdb\" "
                            "kopiert werden.",
                            "critical\t'<work>/text.mdb' ist keine Datenbank dieses Programms (unerkanntes "
                            "Datenbankformat).",
                            "critical\tSoll die aktuelle Datenbank\\nwirklich überschrieben werden?",
                            "critical\tDie Datei \"<work>/series.mdb\" konnte nicht nach \"<work>/series.mdb\" "
                            "kopiert werden."));
    // Once closed, the database is always opened again.
    EXPECT_THAT(window.calls, ElementsAre("load", "load", "setup"));
    EXPECT_EQ(state(), QStringList{"1|1|1|2535:00"});
    EXPECT_FALSE(ui.busy());
}

}  // namespace
