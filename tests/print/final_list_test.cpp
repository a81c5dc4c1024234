// The printed final standings on a real series file, with the print control's
// builder measuring with fixed numbers (landscape A4: body from 1140 to 10760).
#include "platform/text/Clock.h"
#include "print/ClassRanking.h"
#include "print/FinalStandingsList.h"
#include "print_support.h"

using namespace tarnis;
using namespace tarnis::printtest;
using ::testing::ElementsAre;

namespace {

constexpr double kBodyTop = 1140, kBodyBottom = 10760;

// The numbering both final-standings outputs share; "*" marks a row that opens a class.
// Ties as 1, 2, 2, 4 are the season cases'.
TEST(ClassRankingTest, GroupsAsTheDatabaseAndSharesPlacesOfTies) {
    // Rows as "class=total" joined by "|".
    const std::pair<const char *, const char *> cases[] = {
        // A new class starts at 1, also on the last total of the class before.
        {"W35=20|M40=20|M40=10", "*1 *1 2"},
        {"W35=30|W35=20|M40=20", "*1 2 *1"},  // never the place above 1 it ended on
        {" =5|=5|M=5", "*1 1 *1"},  // a blank first class
        // Case and blanks do not split a class; accents and the full name do.
        {"m40=9| M40 =8|Männer=7|Manner=7|Hauptklasse Männer Abteilung A=1|Hauptklasse Männer Abteilung B=1",
         "*1 2 *1 *1 *1 *1"},
    };
    for (const auto &[rows, expected] : cases) {
        ClassRanking ranking;
        QStringList got;
        for (const QString &row : QString::fromUtf8(rows).split(u'|')) {
            const auto step = ranking.next(row.section(u'=', 0, 0), row.section(u'=', 1).toInt());
            got << (step.opensClass ? "*" : "") + QString::number(step.place);
        }
        EXPECT_EQ(got.join(u' '), QString::fromUtf8(expected)) << rows;
    }
    EXPECT_EQ(classHeading(QStringLiteral("Hauptklasse Männer Abteilung A")),
              QStringLiteral("Hauptklasse Männer A"));
    EXPECT_EQ(classHeading(QStringLiteral("M40   ")), QStringLiteral("M40"));
    EXPECT_EQ(classHeading(QStringLiteral("M\r40\t")), QStringLiteral("M 40"));
}

class FinalListTest : public SeriesPrintTest {
protected:
    FakeWindow window;
    FakeControl control;

    void SetUp() override {
        openSeries(3);
        setFixedNow(QDateTime(QDate(2024, 5, 1), QTime(12, 0)));
    }
    void TearDown() override {
        SeriesPrintTest::TearDown();
        setFixedNow(QDateTime());
    }
    void add(const char *vorname, const char *zuname, int jahrgang, const char *klasse, const char *verein,
             int endwertung, int zwischenwertung = 0) {
        db().execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Endwertung, "
                     "Zwischenwertung) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
                     {vorname, zuname, jahrgang, klasse, verein, endwertung, zwischenwertung});
    }
    void clear() {
        for (const char *table : {"Teilnehmer", "Punkteverteilung", "AKLSortIndex"})
            db().execute(QStringLiteral("DELETE FROM ") + table);
    }
    // Nine participants in four classes; M99 has no place in the class order.
    void seriesD1() {
        db().execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Endwertung, "
                     "Zwischenwertung) VALUES ('Meier', 'Hans', 1980, 'M40', 'TV Nord', 60, 0), "
                     "('Schulz', 'Peter', 1982, 'M40', 'LG Süd', 75, 0), ('Berg', 'Uwe', 1983, 'M40', "
                     "'SC Ost', 50, 0), ('Abel', 'Karl', 1981, 'M40', 'TV Nord', 60, 0), ('Roth', 'Anna', "
                     "1988, 'W35', 'TV Nord', 70, 0), ('Neu', 'Lea', 1990, 'W35', ' ', 30, 0), ('Klein', "
                     "'Max', 1987, 'M35', 'SC Ost', 75, 0), ('Lang', 'Tim', 1986, 'M35', 'LG Süd', 0, 40), "
                     "('Frei', 'Ole', 1984, 'M99', 'TV Nord', 80, 0)");
        order("W35", 1);
        order("M35", 2);
        order("M40", 2);
        db().execute("INSERT INTO Punkteverteilung (Platz, Punkte) VALUES (1, 25), (2, 20)");
    }
    QStringList page(int index) const { return bodyRows(*control.shownDoc, index, kBodyTop, kBodyBottom); }
    void run() { PL_PrintEndwertung(window, control); }
};

// Without a points table the lowest total comes first (more points for place 1 and
// time mode are the season case's; the direction table is the core tests').
// A control character in data is a blank: a CR would start a second line in its cell.
TEST_F(FinalListTest, LowestFirstWithoutAPointsTable) {
    add("B", "b", 1990, "M", "x", 7);
    add("A", "a", 1990, "M", "x", 3);
    add("C\rD", "\te", 1990, "M", "x\ny", 9);
    order("M", 0);
    run();
    ASSERT_TRUE(control.shownDoc);
    EXPECT_THAT(page(0).mid(2), ElementsAre("1|A|a|1990|x|3", "2|B|b|1990|x|7", "3|C D|e|1990|x y|9"));
}

TEST_F(FinalListTest, ClassChangeNearTheFootStartsANewPage) {
    // The first row ends at 1140 + 3 * 300 + 300 = 2340: a class change needs that
    // much room. After n rows the page is filled down to 2040 + 300 n.
    for (const int rows : {21, 22}) {
        SCOPED_TRACE(rows);
        clear();
        for (int i = 0; i < rows; ++i)
            add(qPrintable(QStringLiteral("A%1").arg(i)), "a", 1990, "A", "x", 10 + i);
        add("B", "b", 1990, "B", "x", 5);
        order("A", 1);
        order("B", 2);
        SaveSetting("LastUser", "Modus", "Z");
        run();
        ASSERT_TRUE(control.shownDoc);
        const auto &doc = *control.shownDoc;
        ASSERT_EQ(doc.pages.size(), rows == 21 ? 1u : 2u);
        if (rows == 22) {
            EXPECT_THAT(page(1).first(1), ElementsAre("B "));
            EXPECT_EQ(doc.pages[1].footer[2], QStringLiteral("Seite 2"));
        }
    }
}

// Fonts, colours, grid lines and the table format from "Listendruck"; a format of
// blanks means the default one. The place "1" is centred in the first column.
TEST_F(FinalListTest, FontsColoursAndFormatFromListSettings) {
    seriesD1();
    const auto placeOneX = [this] {
        run();
        for (const auto &op : control.shownDoc->pages[0].ops)
            if (const auto *t = std::get_if<print::TextOp>(&op); t && t->text == QStringLiteral("1"))
                return t->topLeft.x();
        return -1.0;
    };
    SaveSetting("Listendruck", "EW-Format", "   ");
    EXPECT_EQ(placeOneX(), 720 + 450);
    // The preferences write some keys in another case than the list reads them.
    for (const auto &[key, value] : std::vector<std::pair<const char *, const char *>>{
             {"Listen Fontname groß", "Courier New"}, {"Listen FontSize groß", "12"},
             {"Gruppen Fontname", "Times New Roman"}, {"Gruppen FontSize", "14"},
             {"Gruppenueberschrift Fontname", "Arial"}, {"Gruppenueberschrift FontSize", "11"},
             {"Footer Fontname", "Verdana"}, {"Footer FontSize", "8"}, {"Color Gruppe", "12632256"},
             {"Color Listenkopf", "255"}, {"Gitter", "-1"}, {"Footertext", "Veranstalter | LG"},
             {"EW-Format", "^500|<3000|<3000|^800|<4000|^1200;"}})
        SaveSetting(QStringLiteral("Listendruck"), QString::fromUtf8(key), QString::fromUtf8(value));
    EXPECT_EQ(placeOneX(), 720 + (500 - 120) / 2);  // "1" is 120 twips wide at 12 pt
    QMap<QString, print::FontSpec> fontOf;
    int lines = 0;
    for (const auto &op : control.shownDoc->pages[0].ops) {
        if (const auto *t = std::get_if<print::TextOp>(&op)) fontOf.insert(t->text, t->font);
        lines += std::holds_alternative<print::LineOp>(op);
    }
    const QMap<quint32, int> shades = fills(*control.shownDoc, 0);
    EXPECT_EQ(fontOf.value(QStringLiteral("Roth")), (print::FontSpec{QStringLiteral("Courier New"), 12}));
    EXPECT_EQ(fontOf.value(QStringLiteral("W35 ")), (print::FontSpec{QStringLiteral("Times New Roman"), 14}));
    EXPECT_EQ(fontOf.value(QStringLiteral("Platz")), (print::FontSpec{QStringLiteral("Arial"), 11}));
    EXPECT_EQ(fontOf.value(QStringLiteral("Veranstalter | LG")), (print::FontSpec{"Verdana", 8}));
    EXPECT_EQ(shades.value(12632256u), 3 * 2);  // blank bar and class bar of three classes
    EXPECT_EQ(shades.value(255u), 3 * 6);      // the column names of three classes
    EXPECT_GT(lines, 0);
}

// No finisher in a class of the order (M99 has no place in it): only the message.
// Then the preview or the printer (the failures are the lists test's).
TEST_F(FinalListTest, EmptyResultPreviewAndPrinter) {
    add("Frei", "Ole", 1984, "M99", "TV Nord", 80);
    add("Lang", "Tim", 1986, "M35", "LG Süd", 0, 40);
    order("M35", 1);
    run();
    ASSERT_EQ(scripted.messages().size(), 1);
    EXPECT_TRUE(scripted.messages()[0].startsWith("information\tKeine Teilnehmer in der Endwertung"));
    EXPECT_TRUE(scripted.progressCalls().isEmpty());
    EXPECT_FALSE(control.shownDoc || window.shown || window.pageCountCalls);

    clear();
    seriesD1();
    run();
    ASSERT_TRUE(control.shownDoc);
    EXPECT_TRUE(window.shown);
    EXPECT_EQ(window.pageCountCalls, 1);
    EXPECT_EQ(control.printed, 0);
    EXPECT_THAT(scripted.progressCalls(), ::testing::Contains(QStringLiteral("show 7")));
    EXPECT_EQ(scripted.progressCalls().last(), QStringLiteral("hide"));

    window.shown = false;
    window.direct = true;
    run();
    EXPECT_EQ(control.printed, 1);
    EXPECT_FALSE(window.shown);
    EXPECT_EQ(window.pageCountCalls, 2);
}

}  // namespace
