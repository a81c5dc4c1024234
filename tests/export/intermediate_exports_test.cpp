// The intermediate page, the class page and the intermediate press list: their
// error paths and what their commands ask. Whole pages and lists byte for byte are
// the season cases'.
#include "common/NullMainWindow.h"
#include "export/IntermediateHtml.h"
#include "export/PressLists.h"
#include "html_support.h"
#include "mainwin/commands/ExportCommands.h"
#include "print/IntermediateRows.h"

#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::htmltest;
using ::testing::ElementsAre;

namespace {

class Intermediate : public HtmlSeries {
protected:
    void SetUp() override {
        HtmlSeries::SetUp();
        set("LastUser", "MaxLaufErf", QStringLiteral("3"));
        addClass("M40", 1);
        addClass("W40", 2);
        for (const char *name : {"Abel", "Berg"})
            gDB->execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Lauf_1_Punkte)"
                         " VALUES (?1, 'x', 1980, 'M40', 'LG', 5)",
                         {name});
        gDB->execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Lauf_1_Punkte)"
                     " VALUES ('Cron', 'x', 1980, 'W40', 'LG', 0)");
    }
    struct Report {
        int number;
        QString hint, procedure;
    };
    std::vector<Report> reports() const {
        std::vector<Report> out;
        for (const ErrorReport &r : scripted.errorReports()) out.push_back({r.error.number, r.hint, r.procedure});
        return out;
    }
};

// Each export's own hint and name: the race count above the series' races, a
// setting that is no number. No file is left behind, an old one stays.
TEST_F(Intermediate, FailuresAreReportedAndCreateNoFile) {
    const QString page = path(QStringLiteral("Zwischenwertung.html"));
    const QString list = path(QStringLiteral("Presseliste (ZW).txt"));
    const QString classPage = path(QStringLiteral("M40.html"));
    writeBytes(list, "old list");
    set("LastUser", "MaxLaufErf", QStringLiteral("4"));
    HTML_ExportZwischenwertung(page);
    PRESSE_ExportZwischenwertung(list);
    HTML_ExportGruppe(classPage, QStringLiteral("M40"));
    set("LastUser", "MaxLaufErf", QStringLiteral("3"));
    set("Listendruck", "MinWTforPrinting", QStringLiteral("zwei"));
    HTML_ExportZwischenwertung(page);
    PRESSE_ExportZwischenwertung(list);

    const std::vector<Report> got = reports();
    ASSERT_EQ(got.size(), 5u);
    const Report want[] = {{3265, kRaceCountHint, "HTML_ExportZwischenwertung"},
                           {3265, kRaceCountHint, "PRESSE_ExportZwischenwertung"},
                           {3265, "There was a problem printing to your printer.", "HTML_ExportGruppe"},
                           {13, kAuthorHint, "HTML_ExportZwischenwertung"},
                           {13, kAuthorHint, "PRESSE_ExportZwischenwertung"}};
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].number, want[i].number) << i;
        EXPECT_EQ(got[i].hint, want[i].hint) << i;
        EXPECT_EQ(got[i].procedure, want[i].procedure) << i;
    }
    EXPECT_FALSE(QFile::exists(page));
    EXPECT_FALSE(QFile::exists(classPage));
    EXPECT_EQ(readBytes(list), QByteArray("old list"));
    // Nothing but the series file and the old list: no temporary file stays behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// AnzTn 0 writes class lines only, and only for classes with someone who passes the
// race filter; a stored empty MinWTforPrinting is the default 0.
TEST_F(Intermediate, PressListClassLinesFollowTheFilter) {
    const QString list = path(QStringLiteral("Presseliste (ZW).txt"));
    set("Presseliste", "AnzTn", QStringLiteral("0"));
    set("Listendruck", "MinWTforPrinting", QStringLiteral("1"));
    PRESSE_ExportZwischenwertung(list);
    EXPECT_EQ(readBytes(list), QStringLiteral("M40").leftJustified(40).toLatin1() + "\r\n");
    set("Listendruck", "MinWTforPrinting", QString());
    PRESSE_ExportZwischenwertung(list);
    EXPECT_EQ(readBytes(list).count("\r\n"), 2);
    EXPECT_TRUE(scripted.messages().isEmpty());
    // Nobody has run two races: the list says so, and the last one stays as it was.
    const QByteArray last = readBytes(list);
    set("Listendruck", "MinWTforPrinting", QStringLiteral("2"));
    PRESSE_ExportZwischenwertung(list);
    EXPECT_THAT(scripted.messages(), ElementsAre("information\tKeine Teilnehmer in der Endwertung !!!"));
    EXPECT_EQ(readBytes(list), last);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_TRUE(scripted.errorReports().isEmpty());
}

// The class page: a class without participants is a message; its command offers a
// file name without "/" and stops silently on a cancelled class question.
TEST_F(Intermediate, ClassPageCommand) {
    HTML_ExportGruppe(path(QStringLiteral("leer.html")), QStringLiteral("M99"));
    EXPECT_THAT(scripted.messages(), ElementsAre("information\tKeine Teilnehmer in der Endwertung !!!"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("leer.html"))));
    EXPECT_EQ(classPageFileName(QStringLiteral(" U18/U20 ")), QStringLiteral("U18-U20.html"));

    tarnis::testing::NullMainWindow window;
    scripted.clearRecords();
    scripted.answer(QStringLiteral("class"), QString());
    mnuAKLHTMLReport(window);
    EXPECT_TRUE(scripted.messages().isEmpty());
    EXPECT_TRUE(scripted.fileRequests().isEmpty());

    scripted.answer(QStringLiteral("class"), QStringLiteral("W40"));
    scripted.answer(QStringLiteral("file"), path(QStringLiteral("W40.html")));
    mnuAKLHTMLReport(window);
    ASSERT_EQ(scripted.fileRequests().size(), 1);
    EXPECT_EQ(scripted.fileRequests()[0].fileName, QStringLiteral("W40.html"));
    EXPECT_TRUE(readBytes(path(QStringLiteral("W40.html"))).contains("<TD>Cron</TD>"));
}

}  // namespace
