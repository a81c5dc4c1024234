// The main-window commands with their questions: import, scoring and the sorts, and
// the "&Datenbank" commands where they can fail or be cancelled (a race deletion, a
// backup and a restore that succeed are a season case).
#include "common/DiskFull.h"
#include "common/NullMainWindow.h"
#include "core/import_support.h"
#include "mainwin/Dispatch.h"
#include "mainwin/commands/CoreCommands.h"
#include "platform/text/Clock.h"

#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::testing;
using ::testing::ElementsAre;

namespace {

// The first cell of a query's first row.
QString cell(const QString &sql) { return gDB->openRecordset(sql).rows().front().front().toText(); }

// Records what the commands ask of the window; the load sequence opens gDBPath again.
class FakeWindow : public NullMainWindow {
public:
    QStringList calls;
    void setRecordSource(const QString &sql, const Params &) override { calls << QStringLiteral("source ") + sql; }
    void refreshGrid() override { calls << QStringLiteral("refresh"); }
    void UpdateTeilnehmerAnzahl() override { calls << QStringLiteral("count"); }
    void Form_Load() override {
        calls << QStringLiteral("load");
        gDB = Database::open(gDBPath);
    }
    void SetupGrid() override { calls << QStringLiteral("setup"); }
    void unloadWindow() override { calls << QStringLiteral("unload"); }
    bool showDatabaseDialog() override { return onDatabaseDialog && onDatabaseDialog(); }
    std::function<bool()> onDatabaseDialog;
};

// A series of three races; the race picker offers five.
class CoreCommands : public SeriesFixture {
protected:
    void SetUp() override {
        SeriesFixture::SetUp();
        SaveSetting("LastUser", "MaxLaufErf", "5");
        SaveSetting("LastUser", "PlPuZuord", "-1");
        ui.setWorkFolder(dir.path());
        gDBPath = path(QStringLiteral("series.mdb"));
    }
    // Runs the command as the dispatcher does, with its failure rule.
    void click(int id) {
        const Command command = LogicCommand(id);
        RunCommand(id, [&] { command(window); });
    }
    FakeWindow window;
};

TEST_F(CoreCommands, ImportFollowsTheStoredRace) {
    // "Weiter" without a race stores "Lauf_": no file dialog, nothing else.
    ui.answer(QStringLiteral("race 0"));
    mnuDateiImport(window);
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_EQ(GetSetting("LastUser", "erfassen", QString()), "Lauf_");

    // Race 1 chosen, then the file dialog cancelled: the class order and the count
    // are still brought up to date.
    ui.answer(QStringLiteral("race 1"));
    ui.answer(QStringLiteral("file"), QString());
    mnuDateiImport(window);
    EXPECT_THAT(window.calls, ElementsAre("count"));

    // The picker closed without "Weiter": nothing is asked or imported, although race 1
    // is still stored.
    window.calls.clear();
    ui.answer(QStringLiteral("race"), QString());
    mnuDateiImport(window);
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_EQ(GetSetting("LastUser", "erfassen", QString()), "Lauf_1");
}

// The race picker cannot store the chosen race (settings file write-protected, or the
// disk full): the import says so under its own name and asks for no file, since it
// would otherwise import into the race stored before, or seem to import at all.
TEST_F(CoreCommands, ImportThatCannotStoreItsRaceSaysSoAndAsksNothingMore) {
    const QString settings = settingsFilePath();
    const auto summary = [this] {
        return (reports().join(u'|') + QStringLiteral(" files %1 calls %2 left %3")
                                           .arg(ui.fileRequests().size())
                                           .arg(window.calls.size())
                                           .arg(ui.leftoverAnswers().size()))
            .toStdString();
    };
    const std::string expected = "75 mnuDateiImport  files 0 calls 0 left 0";

    QFile::setPermissions(settings, QFile::ReadOwner | QFile::ReadGroup);
    ui.answer(QStringLiteral("race 1"));
    click(10001);
    EXPECT_EQ(summary(), expected);
    QFile::setPermissions(settings, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(GetSetting("LastUser", "erfassen"), "Lauf_2");

    ui.clearRecords();
    const QByteArray before = fileBytes(settings);
    const std::string onFullDisk = inChild(
        [&] {
            ui.answer(QStringLiteral("race 3"));
            click(10001);
            return summary();
        },
        rlim_t(before.size() - 1));  // no rewrite of the file fits
    EXPECT_EQ(onFullDisk, expected);
    EXPECT_EQ(fileBytes(settings), before);
}

TEST_F(CoreCommands, ImportScoringAndSorts) {
    ui.answer(QStringLiteral("ok"));
    mnuCountWertung(window);  // empty table: only the message
    EXPECT_TRUE(window.calls.isEmpty());

    ui.answer(QStringLiteral("race 1"));
    ui.answer(QStringLiteral("file"), writeList({"Ort", "Datum", "M40 - 10 km Lauf",
                                                  resultLine("1", "Alt, Anna", "70", "C", "35:00"), "W30 - 5 km Lauf",
                                                  resultLine("2", "Bär, Berta", "90", "C", "20:00")}));
    mnuDateiImport(window);
    EXPECT_THAT(window.calls, ElementsAre("refresh", "count"));
    window.calls.clear();
    SaveSetting("LastUser", "LaufAnzForEW", "1");
    mnuCountWertung(window);
    EXPECT_THAT(window.calls, ElementsAre("refresh"));
    EXPECT_EQ(cell("SELECT sum(Endwertung) FROM Teilnehmer"), "3");

    window.calls.clear();
    mnuSortAsc(window);
    mnuSortDesc(window);
    mnuBeenden(window);
    EXPECT_THAT(window.calls,
                ElementsAre("source select * from Teilnehmer order by Vorname asc, Zuname asc",
                            "source select * from Teilnehmer order by Vorname desc, Zuname desc", "unload"));
}

// The work is done, but the grid cannot be read again (another program holds the file
// locked): the scoring and the import say so under their names instead of leaving the
// grid as it stood.
TEST_F(CoreCommands, AGridThatCannotBeReadAfterTheWorkIsTold) {
    class LockedGrid : public FakeWindow {
    public:
        void refreshGrid() override { throw AppError(3218, "Engine", "Die Datenbank ist gesperrt."); }
    } locked;
    gDB->execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Lauf_1_Punkte) "
                 "VALUES ('Alt', 'Anna', 1970, 'W50', 'LG', 25)");
    ui.answer(QStringLiteral("race 2"));
    ui.answer(QStringLiteral("file"), writeList({"Ort", "Datum", "M40 - 10 km Lauf",
                                                  resultLine("1", "Bär, Berta", "90", "C", "20:00")}));
    for (int id : {3, 10001}) RunCommand(id, [&] { LogicCommand(id)(locked); });
    EXPECT_THAT(reports(), ElementsAre("3218 CountWertung ", "3218 mnuDateiImport "));
    EXPECT_EQ(cell("SELECT count(*) FROM Teilnehmer WHERE Lauf_2_Punkte = 1"), "1");
}

class DatabaseCommands : public CoreCommands {
protected:
    void SetUp() override {
        CoreCommands::SetUp();
        gDB->execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Lauf_1_Punkte, "
                     "Lauf_1_Zeit) VALUES ('Alt', 'Anna', 1970, 'W50', 'LG', 25, '35:00')");
        gDB->execute("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES ('W50', 1)");
        gDB->execute("INSERT INTO Punkteverteilung (Platz, Punkte) VALUES (1, 25)");
    }
    // Rows of Teilnehmer, AKLSortIndex and Punkteverteilung, and race 1 of the runner.
    QString state() {
        return cell("SELECT (SELECT count(*) FROM Teilnehmer) || '|' || (SELECT count(*) FROM AKLSortIndex) || '|' || "
                    "(SELECT count(*) FROM Punkteverteilung) || '|' || "
                    "coalesce((SELECT Lauf_1_Punkte || Lauf_1_Zeit FROM Teilnehmer), '<null>')");
    }
};

TEST_F(DatabaseCommands, DeletionsAskAndReportTheirFailure) {
    const struct {
        int id;
        QStringList answers;
        const char *after;  // state()
        QStringList calls;
    } cases[] = {
        // Closing the race picker cancels, although race 2 is stored from before.
        {20011, {"race"}, "1|1|1|2535:00", {}},
        {20011, {"race 1", "no"}, "1|1|1|2535:00", {}},
        {20014, {"no"}, "1|1|1|2535:00", {}},
        {20014, {"yes"}, "1|0|1|2535:00", {"refresh"}},
        {20013, {"yes"}, "1|0|0|2535:00", {"refresh"}},
        {20012, {"yes"}, "0|0|0|<null>", {"refresh", "count"}},
    };
    for (const auto &c : cases) {
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
    gDB->execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein) "
                 "VALUES ('Berg', 'Bernd', 1975, 'M45', 'TV')");
    ui.answer(QStringLiteral("race 5"));
    ui.answer(QStringLiteral("yes"));
    click(20011);
    gDB->execute("PRAGMA query_only = ON");
    ui.answer(QStringLiteral("race 1"));
    for (int id : {20011, 20014, 20013, 20012}) {
        ui.answer(QStringLiteral("yes"));
        click(id);
    }
    QStringList reported;
    for (const ErrorReport &r : ui.errorReports()) reported << QString::number(r.error.number) + ' ' + r.procedure;
    EXPECT_THAT(reported, ElementsAre("3265 mnuLaufLöschen", "3027 mnuLaufLöschen", "3027 mnuAKLLöschen",
                                      "3027 mnuPKTloeschen", "3027 mnuAllesLöschen"));
    EXPECT_EQ(cell("SELECT count(*) FROM Teilnehmer"), "1");
    EXPECT_TRUE(window.calls.isEmpty());
}

// The database dialog: a file created or chosen there is opened at once; closed, or
// left on the open file, it leaves the window alone.
TEST_F(DatabaseCommands, DatabaseDialogOpensANewFileAtOnce) {
    const struct {
        const char *stored;  // what "&Fertig" stores; nullptr: closed without it
        bool reloads;
    } cases[] = {
        {nullptr, false},
        {"series.mdb", false},
        {"fuenf.mdb", true},
        {"", true},  // an emptied path: the load sequence asks again
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "closed");
        window.calls.clear();
        SaveSetting("LastUser", "Datenbank", gDBPath);
        window.onDatabaseDialog = [&] {
            if (!c.stored) return false;
            SaveSetting("LastUser", "Datenbank", *c.stored ? path(c.stored) : QString());
            return true;
        };
        click(20043);
        EXPECT_EQ(window.calls, c.reloads ? QStringList{"load"} : QStringList{});
    }
}

TEST_F(DatabaseCommands, BackupAndRestoreThatCannotCopyKeepTheDatabase) {
    setFixedNow(QDateTime(QDate(2026, 3, 7), QTime(9, 0)));
    // Cancelled backup; backup into a folder that is missing; restore of a file that
    // is no series file; restore of the open file onto itself.
    for (const char *a : {"file", "file fehlt/sicherung.mdb", "ok", "file text.mdb", "ok", "file series.mdb", "yes", "ok"})
        ui.answer(QString::fromUtf8(a));
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
    EXPECT_EQ(state(), "1|1|1|2535:00");
    EXPECT_FALSE(ui.busy());
}

}  // namespace
