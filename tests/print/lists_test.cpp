// The grid, intermediate and club lists where the page dumps of the season cases
// show them poorly: page breaks, shades, fonts, the grid given back, and the
// commands' own paths.
#include "mainwin/commands/ListCommands.h"
#include "print/ClubList.h"
#include "print/FinalStandingsList.h"
#include "print/GridList.h"
#include "print/IntermediateList.h"
#include "print/ListFrame.h"
#include "list_support.h"

using namespace tarnis;
using namespace tarnis::printtest;

namespace {

constexpr double kBodyTop = 1140, kBodyBottom = 10760;

class ListsTest : public SeriesPrintTest {
protected:
    GridWindow window;
    FakeControl control;

    void SetUp() override {
        openSeries(3);
        print::setPrintControl(&control);
    }
    void TearDown() override {
        print::setPrintControl(nullptr);
        SeriesPrintTest::TearDown();
    }
    // One participant; points of race 1 (0: none), a final total.
    void add(const QString &name, const char *klasse, int race1, int endwertung = 0) {
        db().execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Endwertung, "
                     "Zwischenwertung, Lauf_1_Punkte, Lauf_1_Zeit) "
                     "VALUES (?1, 'x', 1990, ?2, 'LG', ?3, 0, ?4, ?5)",
                     {name, klasse, endwertung, race1, race1 ? Value(QStringLiteral("34:50")) : Value()});
    }
    // The page (from 0) whose body holds the text, -1 when none does.
    int pageOf(const QString &text) const {
        for (std::size_t p = 0; p < control.shownDoc->pages.size(); ++p)
            if (bodyRows(*control.shownDoc, int(p), kBodyTop, kBodyBottom).contains(text)) return int(p);
        return -1;
    }
    QMap<quint32, int> shades(int page) const { return fills(*control.shownDoc, page); }
    double sizeOf(const QString &text) const {
        for (const auto &op : control.shownDoc->pages[0].ops)
            if (const auto *t = std::get_if<print::TextOp>(&op); t && t->text == text) return t->font.sizePt;
        return 0;
    }
};

// Rows are 300 twips, a heading (blank bar, class bar, names) 900. The first row of
// the query is filtered out, so the room a class needs is measured before any row:
// 1140. After k rows of A the page is filled down to 2040 + 300 k.
TEST_F(ListsTest, ClassChangeMeasuresFromTheFirstRowOfTheQuery) {
    for (const int rows : {24, 27}) {
        SCOPED_TRACE(rows);
        db().execute("DELETE FROM Teilnehmer");
        db().execute("DELETE FROM AKLSortIndex");
        add(QStringLiteral("A"), "A", 0);
        for (int i = 0; i < rows; ++i) add(QStringLiteral("A%1").arg(i, 2, 10, QLatin1Char('0')), "A", 5);
        add(QStringLiteral("B"), "B", 5);
        order("A", 1);
        order("B", 2);
        SaveSetting("LastUser", "MaxLaufErf", "1");
        SaveSetting("Listendruck", "MinWTforPrinting", "1");
        PL_PrintZwischenwertung(window, control);
        ASSERT_TRUE(control.shownDoc);
        EXPECT_EQ(pageOf(QStringLiteral("B")), rows == 24 ? 0 : 1);
    }
}

// The bars in the group shade, the column names in the heading shade; the one-class
// list has no blank bar. Time mode without a format of its own prints rows at 8 pt.
TEST_F(ListsTest, ShadesAndRowSizes) {
    add(QStringLiteral("Abel"), "M40", 5);
    add(QStringLiteral("Roth"), "W35", 5);
    order("M40", 1);
    order("W35", 2);
    SaveSetting("LastUser", "MaxLaufErf", "1");
    SaveSetting("Listendruck", "Color Gruppe", "255");
    SaveSetting("Listendruck", "Color Listenkopf", "65280");
    SaveSetting("Listendruck", "Listen FontSize Klein", "12");
    PL_PrintZwischenwertung(window, control);
    EXPECT_EQ(shades(0).value(255u), 2 * 2);
    EXPECT_EQ(shades(0).value(65280u), 2 * 14);
    PL_PrintGruppe(window, control, QStringLiteral("M40"));
    EXPECT_EQ(shades(0).value(255u), 1);
    EXPECT_EQ(shades(0).value(65280u), 14);

    const struct {
        const char *modus, *format;
        double size;
    } sizes[] = {{"P", "", 12}, {"Z", "", 8}, {"Z", "<3000|<3000;", 12}, {"P", "<3000|<3000;", 12}};
    for (const auto &s : sizes) {
        SaveSetting("LastUser", "Modus", s.modus);
        SaveSetting("Listendruck", "ZW-Format", s.format);
        PL_PrintZwischenwertung(window, control);
        EXPECT_EQ(sizeOf(QStringLiteral("Abel")), s.size) << s.modus << " " << s.format;
    }
}

// The grid list shades the names at the top of every page and gives the grid back
// on its first row, redrawn but not read again (which would drop the selection),
// after an error too.
TEST_F(ListsTest, GridListNamesOnEveryPageAndGridGivenBack) {
    for (int i = 0; i < 40; ++i) add(QStringLiteral("P%1").arg(i, 2, 10, QLatin1Char('0')), "M40", i % 2);
    window.grid = db().openRecordset(QStringLiteral("SELECT * FROM Teilnehmer ORDER BY Vorname DESC"));
    SaveSetting("LastUser", "MaxLaufErf", "3");
    SaveSetting("Listendruck", "Color Listenkopf", "65280");
    PL_PrintGrid(window, control);
    ASSERT_TRUE(control.shownDoc);
    ASSERT_EQ(control.shownDoc->pages.size(), 2u);
    EXPECT_EQ(shades(0).value(65280u), 14);
    EXPECT_EQ(shades(1).value(65280u), 14);
    EXPECT_EQ(window.currentRow, 0);
    EXPECT_EQ(window.redraws, 1);

    window.currentRow = 7;
    SaveSetting("LastUser", "MaxLaufErf", "4");
    PL_PrintGrid(window, control);
    EXPECT_EQ(window.currentRow, 0);
    EXPECT_EQ(window.redraws, 2);
    EXPECT_EQ(window.refreshes, 0);
    ASSERT_EQ(scripted.errorReports().size(), 1);
    EXPECT_EQ(scripted.errorReports()[0].error.number, err::ItemNotFound);
    EXPECT_EQ(scripted.errorReports()[0].procedure, QStringLiteral("PL_PrintGrid"));
    EXPECT_TRUE(scripted.progressCalls().endsWith(QStringLiteral("hide")));
}

// A stored race count of blanks is the default. Bad settings and a failing printer stop
// each list in the error dialog with its own hint, with no document left open and
// the progress window closed.
TEST_F(ListsTest, FailuresReachTheErrorDialog) {
    add(QStringLiteral("Abel"), "M40", 5, 60);
    order("M40", 1);
    SaveSetting("LastUser", "MaxLaufErf", "  ");
    PL_PrintZwischenwertung(window, control);
    EXPECT_TRUE(scripted.errorReports().isEmpty());

    using Print = void (*)(MainWindowApi &, print::PrintControl &);
    const Print intermediate = [](MainWindowApi &w, print::PrintControl &c) {
        PL_PrintZwischenwertung(w, c);
    };
    const Print oneClass = [](MainWindowApi &w, print::PrintControl &c) { PL_PrintGruppe(w, c, "M40"); };
    const Print clubs = [](MainWindowApi &w, print::PrintControl &c) { PL_PrintVereinswertung(w, c); };
    const Print final = [](MainWindowApi &w, print::PrintControl &c) { PL_PrintEndwertung(w, c); };
    const struct {
        const char *section, *key, *value;  // no key: the printer fails
        Print print;
        const char *procedure;
        QString hint;
        int number;
    } cases[] = {
        {"LastUser", "MaxLaufErf", "drei", intermediate, "PL_PrintZwischenwertung", kIntermediateHint,
         err::TypeMismatch},
        {"LastUser", "MaxLaufErf", "drei", oneClass, "PL_PrintGruppe", kPrintProblem, err::TypeMismatch},
        {"Listendruck", "Listen FontSize Groß", "groß", clubs, "PL_PrintVereinswertung", kClubListHint,
         err::TypeMismatch},
        {"Listendruck", "Footer FontSize", "groß", final, "PL_PrintEndwertung", kPrintProblem,
         err::TypeMismatch},
        {"Listendruck", "EW-Format", "^1000|x;", final, "PL_PrintEndwertung", kPrintProblem,
         err::InvalidPropertyValue},
        {"", "", "", final, "PL_PrintEndwertung", kPrintProblem, print::kPrinterError},
    };
    window.direct = true;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        control.printerFails = !*c.key;
        if (*c.key) SaveSetting(c.section, c.key, c.value);
        control.shownDoc.reset();
        scripted.clearRecords();
        c.print(window, control);
        EXPECT_FALSE(control.docBuilder.inDocument());
        EXPECT_EQ(control.printed, 0);
        ASSERT_EQ(scripted.errorReports().size(), 1);
        EXPECT_EQ(scripted.errorReports()[0].procedure, QString::fromUtf8(c.procedure));
        EXPECT_EQ(scripted.errorReports()[0].hint, c.hint);
        EXPECT_EQ(scripted.errorReports()[0].error.number, c.number);
        EXPECT_EQ(scripted.progressCalls().value(scripted.progressCalls().size() - 1, "hide"), "hide");
        if (*c.key) DeleteSetting(c.section, c.key);
    }
}

// The class question of the one-class list failing (no series open) shows its
// description and prints nothing.
TEST_F(ListsTest, ClassQuestionFailureIsShown) {
    gDB.reset();
    scripted.answer("ok");
    mnuAKLDruckerReport(window);
    EXPECT_THAT(scripted.messages(),
                ::testing::ElementsAre("critical\tObjektvariable oder With-Blockvariable nicht festgelegt"));
    EXPECT_FALSE(control.shownDoc);
    EXPECT_TRUE(scripted.failures().isEmpty());
}

// Once through the real fonts into a real landscape PDF (direct printing to the file
// named by TARNIS_PRINT_PDF): both lines of a two-line race cell are on the paper.
TEST_F(ListsTest, IntermediateListTwoLineCellsInARealPdf) {
    gDB.reset();
    CreateSeriesFile(dir.filePath(QStringLiteral("zwoelf.mdb")), 12);
    gDB = Database::open(dir.filePath(QStringLiteral("zwoelf.mdb")));
    db().execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Lauf_1_Punkte, "
                 "Lauf_9_Punkte, Lauf_2_Punkte, Lauf_10_Punkte) "
                 "VALUES ('Meier', 'Hans', 1980, 'M40', 'LG', 25, 17, 0, 0)");
    order("M40", 1);
    SaveSetting("LastUser", "MaxLaufErf", "12");
    const QString pdf = dir.filePath(QStringLiteral("liste.pdf"));
    printToPdf(window, pdf, [this](PreviewPane &pane) { PL_PrintZwischenwertung(window, pane); });
    ASSERT_TRUE(scripted.errorReports().isEmpty());
    EXPECT_THAT(programOutput("pdfinfo", {pdf}).toStdString(), ::testing::HasSubstr("842 x 595 pts"));
    const QStringList lines = programOutput("pdftotext", {"-layout", pdf, "-"}).split(u'\n');
    // Race 1 over race 9, and the blank 0 of race 2 over the "0" of race 10.
    const auto row =
        std::find_if(lines.begin(), lines.end(), [](const QString &l) { return l.contains(u"Meier"); });
    ASSERT_NE(row, lines.end()) << lines.join(u'\n').toStdString();
    ASSERT_NE(row + 1, lines.end());
    EXPECT_THAT(row->simplified().toStdString(), ::testing::EndsWith("Meier Hans 1980 LG 25"));
    EXPECT_EQ((row + 1)->simplified(), QStringLiteral("17 0"));
}

}  // namespace
