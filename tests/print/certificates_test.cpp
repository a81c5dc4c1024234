// Certificates on a real series file, laid out by a builder with fixed metrics
// (A4 portrait, 11900 twips wide; a character is 10 twips per point wide).
#include "mainwin/Dispatch.h"
#include "mainwin/commands/CertificateCommands.h"
#include "print/Certificates.h"
#include "print/ListFrame.h"
#include "list_support.h"

#include <QFile>
#include <QRegularExpression>
#include <random>

using namespace tarnis;
using namespace tarnis::printtest;

namespace {

const char *const kLineKeys[] = {" X-Pos", " Y-Pos", " Fontname", " Fontsize", " Text", " Farbe", " Inhalt"};

class CertificatesTest : public SeriesPrintTest {
protected:
    FakeWindow window;
    FakeControl control;

    void SetUp() override {
        openSeries(2);
        // Two classes that agree in their first 20 characters, a tie, a name over 30.
        db().execute(
            "INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Endwertung, "
            "Zwischenwertung, Lauf_2_Punkte) "
            "VALUES ('Roth', 'Anna', 1988, 'Hauptklasse Frauen Abt. A', 'TV Nord', 70, 0, 25),"
            "('Klein', 'Max', 1987, 'Hauptklasse Frauen Abt. B', 'SC Ost', 75, 0, 0),"
            "('Abel', 'Karl', 1981, 'Hauptklasse Frauen Abt. A', 'TV Nord', 60, 0, NULL),"
            "('Freifrau von Hohenzollern-Sigmaringen', 'Eva', 1990, 'Hauptklasse Frauen Abt. A', 'LG', 60, "
            "0, 3),"
            "('Lang', 'Tim', 1986, 'M35', 'LG Süd', 0, 40, 7)");
    }
    static void line(int n, const char *x, const char *y, const char *font, const char *size,
                     const char *text, const char *colour, const char *content) {
        const char *values[] = {x, y, font, size, text, colour, content};
        for (int i = 0; i < 7; ++i)
            SaveSetting(QStringLiteral("Urkundendruck"), QStringLiteral("Zeile %1").arg(n) + kLineKeys[i],
                        QString::fromUtf8(values[i]));
    }
    // The texts of every page as "x,y:text", items joined by " / ".
    QStringList pages() const {
        QStringList out;
        for (const auto &page : control.shownDoc->pages) {
            QStringList items;
            for (const auto &op : page.ops)
                if (const auto *t = std::get_if<print::TextOp>(&op))
                    items << QStringLiteral("%1,%2:%3").arg(t->topLeft.x()).arg(t->topLeft.y()).arg(t->text);
            out << items.join(QStringLiteral(" / "));
        }
        return out;
    }
};

// Font, size and colour of each line on the document; centring measured in the
// line's own font; classes told apart on their full name; contents naming columns.
TEST_F(CertificatesTest, LinesOnTheDocument) {
    SaveSetting("Urkundendruck", "Urkundenzeilen", "4");
    line(0, "0", "2000", "Liberation Serif", "20", "Urkunde", "255", "Text");
    line(1, "-200", "3000", "Arial", "12", "Platz %s in der %s", "65280", "Platzierung");
    line(2, "1500", "4000", "Arial", "10", "%s: Lauf 2", "0", "lauf_2_punkte");
    line(3, "1500", "5000", "Arial", "10", "%s", "0", "Altersklasse");
    PU_PrintUrkundeAlle(window, control);
    ASSERT_TRUE(scripted.errorReports().isEmpty());
    ASSERT_TRUE(control.shownDoc);
    EXPECT_TRUE(window.shown);
    EXPECT_EQ(window.pageCountCalls, 1);
    // Class A by total, the tie by name; class B starts again at 1, though its
    // first 20 characters, which the line prints, are those of class A.
    const QString head = QStringLiteral("5250,2000:Urkunde / -200,3000:Platz   ");  // "Urkunde" is 1400 wide
    const QString tail = QStringLiteral(" / 1500,5000:Hauptklasse Frauen ");
    EXPECT_THAT(pages(), ::testing::ElementsAre(head + "1. / 1500,4000:Lauf 2" + tail + "A",
                                                head + "1. / 1500,4000:3  Lauf 2" + tail + "A",
                                                head + "3. / 1500,4000:25  Lauf 2" + tail + "A",
                                                head + "1. / 1500,4000:Lauf 2" + tail + "A"));
    const auto &ops = control.shownDoc->pages[0].ops;
    const auto &title = std::get<print::TextOp>(ops[0]);
    EXPECT_EQ(title.font, (print::FontSpec{QStringLiteral("Liberation Serif"), 20}));
    EXPECT_EQ(title.bgr, 255u);
    EXPECT_EQ(std::get<print::TextOp>(ops[1]).bgr, 65280u);
    EXPECT_EQ(std::get<print::TextOp>(ops[1]).font.sizePt, 12);
}

// The selected participant without a certificate (the long name, the tie and both
// print modes are the season case's): a class without finishers, and a name that
// differs only in case, each get their message and leave the pane's document alone.
TEST_F(CertificatesTest, SelectedParticipantWithoutFinalTotal) {
    SaveSetting("LastUser", "Urkundenzeilen", "1");
    line(0, "1000", "1000", "Arial", "12", "%s", "0", "Name");
    const ParticipantKey roth{"Roth", "Anna", "TV Nord", "1988", "Hauptklasse Frauen Abt. A"};
    PU_PrintUrkundenLaeufer(window, roth, control);
    ASSERT_TRUE(control.shownDoc);
    const auto shown = control.shownDoc;
    ParticipantKey lowerRoth = roth;
    lowerRoth.vorname = QStringLiteral("roth");
    const std::pair<ParticipantKey, const char *> cases[] = {
        {{"Lang", "Tim", "LG Süd", "1986", "M35"}, "Keine Teilnehmer in der Endwertung !!!"},
        {lowerRoth, "Teilnehmer hat keine Endwertung !!!"},
    };
    for (const auto &[key, message] : cases) {
        scripted.clearRecords();
        PU_PrintUrkundenLaeufer(window, key, control);
        EXPECT_THAT(scripted.messages(), ::testing::ElementsAre(QStringLiteral("information\t") + message));
        EXPECT_EQ(control.shownDoc, shown);
        EXPECT_FALSE(control.docBuilder.inDocument());
    }
}

// Namesakes of one year and class told apart by their club alone: each selected
// one gets his own certificate only, with his place in the class.
TEST_F(CertificatesTest, SelectedParticipantAmongNamesakes) {
    db().execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Endwertung, "
                 "Zwischenwertung) VALUES ('Roth', 'Anna', 1988, 'Hauptklasse Frauen Abt. A', 'LG Süd', 65, 0), "
                 "('Roth', 'Anna', 1988, 'Hauptklasse Frauen Abt. A', 'TV Nordost', 80, 0)");
    SaveSetting("LastUser", "Urkundenzeilen", "2");
    line(0, "1000", "1000", "Arial", "12", "%s", "0", "Platzierung");
    line(1, "1000", "2000", "Arial", "12", "%s", "0", "Verein");
    const std::pair<const char *, const char *> cases[] = {
        {"LG Süd", "1000,1000:3. / 1000,2000:LG Süd"},
        {"TV Nord", "1000,1000:4. / 1000,2000:TV Nord"},
        {" TV Nordost ", "1000,1000:5. / 1000,2000:TV Nordost"},
    };
    for (const auto &[club, page] : cases) {
        const ParticipantKey key{"Roth", "Anna", QString::fromUtf8(club), "1988", "Hauptklasse Frauen Abt. A"};
        PU_PrintUrkundenLaeufer(window, key, control);
        ASSERT_TRUE(control.shownDoc);
        EXPECT_THAT(pages(), ::testing::ElementsAre(QString::fromUtf8(page))) << club;
    }
    EXPECT_TRUE(scripted.messages().isEmpty());
}

// The commands: "Selektierter Teilnehmer" takes the grid's current row, also among
// several selected ones. A failing class question goes to the error dialog under
// the command's name.
TEST_F(CertificatesTest, CommandsTakeTheCurrentRowAndReportTheirFailures) {
    struct Window : GridWindow {
        int gridCurrentRow() const override { return 4; }
        int gridSelectedRowCount() const override { return 3; }
    } grid;
    print::setPrintControl(&control);
    grid.grid = db().openRecordset(QStringLiteral("SELECT * FROM Teilnehmer ORDER BY Vorname"));
    SaveSetting("LastUser", "Urkundenzeilen", "2");
    line(0, "1000", "1000", "Arial", "12", "%s", "0", "Name");
    line(1, "1000", "2000", "Arial", "12", "%s", "0", "Jahrgang");
    mnuSelTN(grid);
    ASSERT_TRUE(control.shownDoc);
    EXPECT_THAT(pages(), ::testing::ElementsAre("1000,1000:Roth / 1000,2000:1988"));

    gDB.reset();
    scripted.clearRecords();
    RunCommand(30083, [&grid] { LogicCommand(30083)(grid); });
    print::setPrintControl(nullptr);
    ASSERT_EQ(scripted.errorReports().size(), 1);
    EXPECT_EQ(scripted.errorReports()[0].procedure, QStringLiteral("mnuUrkundeAltersklasse"));
    EXPECT_EQ(scripted.errorReports()[0].hint, QString());
}

// Layouts mutated from a fixed seed: every run ends in one page per finisher or
// in the error dialog, with no document left open and the progress window closed.
TEST_F(CertificatesTest, MutatedLayoutsEndInPagesOrTheErrorDialog) {
    const std::vector<const char *> pools[] = {
        {"0", "1000", "-200", "", "abc", "99999999999", "-2147483648", "1e9", "0.5", "%s"},           // X-Pos
        {"1000", "-5000", "2147483647", "x", "", "16000", "12.5"},                                   // Y-Pos
        {"Arial", "", " ", "Gibt Es Nicht", "%s"},                                          // Fontname
        {"12", "0", "-4", "1638", "5000", "groß", "", "12.5"},                              // Fontsize
        {"TEXT TEXT", "%s", "%s%s%s", "Platz %s", "%", "", "ab%sc", "\t%s\r\n"},                     // Text
        {"0", "255", "-1", "16777215", "rot", "", "4294967296"},                                     // Farbe
        {"nichts", "Nichts", "", "Name", "Gesamtname", "Platzierung", "Text", "Lauf_1_Punkte",
         "Lauf_9_Punkte", "vorname", "unbekannt", "%s", "Altersklasse", "Endwertung"},               // Inhalt
    };
    const char *counts[] = {"0", "-1", "40000", "3", "6", "x"};
    const char *truths[] = {"True", "0", "bla", ""};
    std::mt19937 random(20240501);
    const auto pick = [&random](const auto &pool) { return pool[random() % std::size(pool)]; };
    int pagesRuns = 0, errorRuns = 0;
    for (int run = 0; run < 300; ++run) {
        SCOPED_TRACE(run);
        // The store written as one file: a save per key would rewrite it each time.
        QString ini = QStringLiteral("[Urkundendruck]\nUrkundenzeilen=%1\nQuerformat=%2\n")
                          .arg(QString::fromUtf8(pick(counts)), QString::fromUtf8(pick(truths)));
        for (int n = 0; n < 6; ++n)
            for (int k = 0; k < 7; ++k) {
                QString value = QString::fromUtf8(pick(pools[k]));
                value.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
                ini += QStringLiteral("Zeile %1%2=%3\n").arg(n).arg(QString::fromUtf8(kLineKeys[k]), value);
            }
        ini += QStringLiteral("[LastUser]\nUrkundenzeilen=%1\nModus=%2\n")
                   .arg(QString::fromUtf8(pick(counts)), QString::fromUtf8(random() % 2 ? "P" : "Z"));
        QFile file(settingsFilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ini.toUtf8());
        file.close();
        reloadSettings();
        scripted.clearRecords();
        control.shownDoc.reset();
        const bool oneClass = run % 2;
        if (oneClass) PU_PrintUrkundenGruppe(window, QStringLiteral("Hauptklasse Frauen Abt. A"), control);
        else PU_PrintUrkundeAlle(window, control);
        EXPECT_FALSE(control.docBuilder.inDocument());
        EXPECT_EQ(scripted.messages().size(), scripted.errorReports().size());  // no message box
        if (!scripted.errorReports().isEmpty()) {
            ++errorRuns;
            EXPECT_FALSE(control.shownDoc);
            EXPECT_EQ(scripted.errorReports().size(), 1);
            EXPECT_EQ(scripted.errorReports()[0].hint, kPrintProblem);
        } else {
            ++pagesRuns;
            ASSERT_TRUE(control.shownDoc);
            EXPECT_EQ(control.shownDoc->pages.size(), oneClass ? 3u : 4u);
        }
        if (!scripted.progressCalls().isEmpty()) {
            EXPECT_EQ(scripted.progressCalls().last(), QStringLiteral("hide"));
        }
    }
    // Both ends are reached.
    EXPECT_GT(pagesRuns, 20);
    EXPECT_GT(errorRuns, 20);
}

TEST_F(CertificatesTest, RealPdfReadsBack) {
    SaveSetting("Urkundendruck", "Urkundenzeilen", "2");
    SaveSetting("Urkundendruck", "Querformat", "True");
    line(0, "0", "2000", "Arial", "28", "Urkunde", "255", "Text");
    line(1, "2000", "4000", "Arial", "14", "%s, herzlichen Glückwunsch", "0", "Gesamtname");
    const QString pdf = dir.filePath(QStringLiteral("urkunden.pdf"));
    printToPdf(window, pdf, [this](PreviewPane &pane) { PU_PrintUrkundeAlle(window, pane); });
    ASSERT_TRUE(scripted.errorReports().isEmpty());
    const auto run = programOutput;
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_THAT(info.toStdString(), ::testing::HasSubstr("842 x 595 pts"));
    EXPECT_THAT(info.toStdString(), ::testing::ContainsRegex("Pages: +4\n"));
    const QString text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    const QStringList pageTexts = text.split(QLatin1Char('\f'));
    const char *names[] = {"Abel Karl", "Freifrau von Hohenzollern-Sigm Eva", "Roth Anna", "Klein Max"};
    ASSERT_GE(pageTexts.size(), 4);
    for (int p = 0; p < 4; ++p) {
        EXPECT_TRUE(pageTexts[p].contains(QStringLiteral("Urkunde"))) << p;
        const QRegularExpression greeting(QRegularExpression::escape(QString::fromUtf8(names[p])) +
                                          QStringLiteral(" +herzlichen Glückwunsch"));
        EXPECT_TRUE(pageTexts[p].contains(greeting)) << pageTexts[p].toStdString();
    }
}

}  // namespace
