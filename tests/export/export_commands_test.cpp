// The export commands of the main window: each HTML command ends with the viewer
// step under its own name, the text files start no viewer, and the grid page asks
// nothing when the grid is empty.
#include "common/NullMainWindow.h"
#include "export/FinalStandingsHtml.h"
#include "html_support.h"
#include "mainwin/commands/ExportCommands.h"

#include <functional>
#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::htmltest;

namespace {

class FailingStarter : public ProgramStarter {
public:
    bool startDetached(const QString &program, const QStringList &arguments) override {
        calls << (QStringList{program} + arguments);
        return false;
    }
    QList<QStringList> calls;
};

class OneRowGrid : public tarnis::testing::NullMainWindow {
public:
    int rows = 1;
    int gridRowCount() const override { return rows; }
    int gridColumnCount() const override { return 1; }
    QString gridColumnCaption(int) const override { return QStringLiteral("Name"); }
    QString gridCell(int, int) const override { return QStringLiteral("Abel"); }
};

class ExportCommands : public HtmlSeries {
protected:
    FailingStarter starter;
    void SetUp() override {
        HtmlSeries::SetUp();
        setProgramStarter(&starter);
        addClass("M40", 1);
        add({"Abel", "Karl", 1981, "M40", "LG", 60});
        set("LastUser", "MaxLaufErf", QStringLiteral("3"));
        set("HTML Listen", "Anzeigen", QStringLiteral("-1"));
        set("HTML Listen", "Anzeigeprog", QStringLiteral("meinviewer --neu"));
    }
    void TearDown() override {
        setProgramStarter(nullptr);
        HtmlSeries::TearDown();
    }
};

TEST_F(ExportCommands, HtmlPagesEndWithTheViewerUnderTheCommandsName) {
    OneRowGrid grid;
    const struct {
        std::function<void(MainWindowApi &)> command;
        const char *procedure, *offered, *row;
        bool classQuestion;
    } commands[] = {
        {&mnuGridHTMLReport, "mnuGridHTMLReport", "Anzeige.html", "<TD>Abel</TD>", false},
        {&mnuVWHTMLReport, "mnuVWHTMLReport", "Vereinswertung.html", "<TD>LG</TD>", false},
        {&mnuAKLHTMLReport, "mnuAKLHTMLReport", "M40.html", "<TD>Abel</TD>", true},
        {&mnuZWHTMLReport, "mnuZWHTMLReport", "Zwischenwertung.html", "<TD>Abel</TD>", false},
        {&mnuEWHTMLReport, "mnuEWHTMLReport", "Endwertung.html", "<TD>Abel</TD>", false},
    };
    for (const auto &c : commands) {
        SCOPED_TRACE(c.procedure);
        scripted.clearRecords();
        starter.calls.clear();
        const QString page = path(QString::fromLatin1(c.offered));
        if (c.classQuestion) scripted.answer(QStringLiteral("class"), QStringLiteral("M40"));
        scripted.answer(QStringLiteral("file"), page);
        c.command(grid);
        ASSERT_EQ(scripted.fileRequests().size(), 1);
        EXPECT_EQ(scripted.fileRequests()[0].title, QStringLiteral("HTML Datei speichern unter ..."));
        EXPECT_EQ(scripted.fileRequests()[0].fileName, QString::fromLatin1(c.offered));
        EXPECT_TRUE(readBytes(page).contains(c.row));
        EXPECT_THAT(starter.calls, ::testing::ElementsAre(QStringList{"meinviewer", "--neu", page}));
        ASSERT_EQ(scripted.errorReports().size(), 1);
        EXPECT_EQ(scripted.errorReports()[0].procedure, QString::fromLatin1(c.procedure));
    }

    // An empty grid: the notice, no file question, no viewer.
    grid.rows = 0;
    scripted.clearRecords();
    starter.calls.clear();
    mnuGridHTMLReport(grid);
    EXPECT_THAT(scripted.messages(), ::testing::ElementsAre("information\tKeine Daten gefunden!"));
    EXPECT_TRUE(scripted.fileRequests().isEmpty());
    EXPECT_TRUE(starter.calls.isEmpty());
}

TEST_F(ExportCommands, TextFilesStartNoViewer) {
    tarnis::testing::NullMainWindow window;
    const struct {
        std::function<void(MainWindowApi &)> command;
        const char *title, *offered;
    } commands[] = {
        {&mnuZwPresseliste, "Datei speichern unter ...", "Presseliste (ZW).txt"},
        {&mnuEwPresseliste, "Datei speichern unter ...", "Presseliste (EW).txt"},
        {&mnuSerExport, "Serienbrief Datei ...", "Serienbrief.txt"},
    };
    for (const auto &c : commands) {
        SCOPED_TRACE(c.offered);
        scripted.clearRecords();
        const QString file = path(QString::fromLatin1(c.offered));
        scripted.answer(QStringLiteral("file"), file);
        c.command(window);
        ASSERT_EQ(scripted.fileRequests().size(), 1);
        EXPECT_EQ(scripted.fileRequests()[0].title, QString::fromLatin1(c.title));
        EXPECT_EQ(scripted.fileRequests()[0].fileName, QString::fromLatin1(c.offered));
        EXPECT_TRUE(readBytes(file).contains("Abel"));
        EXPECT_TRUE(scripted.messages().isEmpty());
        EXPECT_TRUE(scripted.errorReports().isEmpty());
    }
    EXPECT_TRUE(starter.calls.isEmpty());
}

// The series file chosen by mistake, by its name or through a link: nothing is
// written over it, with or without an overwrite question, and the series stays whole.
TEST_F(ExportCommands, NoExportWritesOverTheSeriesFile) {
    set("HTML Listen", "Anzeigen", QStringLiteral("0"));
    const QString link = path(QStringLiteral("link.mdb"));
    ASSERT_TRUE(QFile::link(gDBPath, link));
    const QByteArray series = readBytes(gDBPath);
    OneRowGrid grid;
    const struct {
        std::function<void(MainWindowApi &)> command;
        QString target;
        const char *reported;  // the error report's procedure, or the message shown
    } commands[] = {
        {&mnuZwPresseliste, gDBPath, "PRESSE_ExportZwischenwertung"},
        {&mnuEwPresseliste, link, "PRESSE_ExportEndwertung"},
        {&mnuSerExport, gDBPath, "EI_Export"},
        {&mnuVWHTMLReport, link, "critical\tHTML-Datei konnte nicht erstellt werden!"},
        {&mnuZWHTMLReport, gDBPath, "critical\tHTML-Datei konnte nicht erstellt werden!"},
        {&mnuGridHTMLReport, gDBPath, nullptr},
    };
    for (const auto &c : commands) {
        SCOPED_TRACE(qPrintable(c.target));
        scripted.clearRecords();
        scripted.answer(QStringLiteral("file"), c.target);
        c.command(grid);
        EXPECT_EQ(readBytes(gDBPath), series);
        const QString reported = QString::fromUtf8(c.reported ? c.reported : "");
        if (reported.startsWith(u"critical")) {
            EXPECT_THAT(scripted.messages(), ::testing::ElementsAre(reported));
        } else if (!reported.isEmpty()) {
            EXPECT_EQ(scripted.messages().size(), 1);  // the error dialog only, no question
            ASSERT_EQ(scripted.errorReports().size(), 1);
            EXPECT_EQ(scripted.errorReports()[0].error.number, 75);
            EXPECT_EQ(scripted.errorReports()[0].procedure, reported);
            EXPECT_TRUE(scripted.errorReports()[0].error.description.contains(QStringLiteral("Seriendatei")));
        } else {
            EXPECT_TRUE(scripted.messages().isEmpty());
            EXPECT_TRUE(scripted.errorReports().isEmpty());
        }
    }
    EXPECT_EQ(gDB->openRecordset(QStringLiteral("SELECT Vorname FROM Teilnehmer")).recordCount(), 1);
}

}  // namespace
