// The intermediate-standings rows every output shares: race cells and races run,
// the settings that shape them, and the reader on a real series file.
#include "print/IntermediateRows.h"
#include "print_support.h"

using namespace tarnis;

namespace {

// Stored race values as text: "~" is Null; in points mode the others are numbers.
std::vector<RaceValue> races(const char *stored, bool points) {
    std::vector<RaceValue> out;
    for (const QString &s : QString::fromUtf8(stored).split(u',')) {
        const Value field = s == u"~" ? Value() : points ? Value(s.toInt()) : Value(s);
        out.push_back(readRaceValue(field, points));
    }
    return out;
}

TEST(IntermediateRowsTest, RaceCellsAndRacesRun) {
    struct Case {
        bool points;
        const char *stored;  // races 1 .. N
        const char *cells;   // "|" between cells, "/" for the line break in a cell
        int run;
    };
    const Case cases[] = {
        // N = 3: 0 points stay blank and do not count; Null is empty.
        {true, "25,0,~", "25| |", 1},
        {true, "1,2,0,4,5,6,7,8", "1|2| |4|5|6|7|8", 7},
        // N = 12: races 9 to 12 below races 1 to 4; a 0 below prints as "0".
        {true, "10,0,0,~,5,6,7,8,0,3,~,0", "10/0| /3| |/0|5|6|7|8", 6},
        // N = 20: races 17 to 20 count but do not show.
        {true, "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,0,~,19,20", "1/9|2/10|3/11|4/12|5/13|6/14|7/15|8/16",
         18},
        // Time: "00:00:00" shows nothing but counts; a blank neither shows nor counts.
        // Read as the scoring reads them; a text that is no time stands as it is.
        {false, "5:12,1:02:03, DNF ,~,,12:34,00:00:00,23:59:59", "05:12:00|01:02:03|DNF|||00:12:34||23:59:59",
         6},
        {false, "00:00:00,,34:50,34:50,1:00,2:00,3:00,4:00,00:00:00,34:50,~,1:00:00",
         "|/00:34:50|00:34:50|00:34:50/01:00:00|01:00:00|02:00:00|03:00:00|04:00:00", 10},
        {false, "1:00,,,,,,,,,,,,,,,,00:00:00,~,,5:00", "01:00:00|||||||", 3},
    };
    for (const Case &c : cases) {
        const std::vector<RaceValue> values = races(c.stored, c.points);
        int run = 0;
        for (const RaceValue &v : values) run += v.run ? 1 : 0;
        QStringList cells;
        for (const QString &cell : printedRaceCells(values, c.points))
            cells << QString(cell).replace(u'\r', u'/');
        EXPECT_EQ(cells.join(u'|'), QString::fromUtf8(c.cells)) << c.stored;
        EXPECT_EQ(run, c.run) << c.stored;
    }
}

class IntermediateReaderTest : public tarnis::printtest::SeriesPrintTest {
protected:
    void SetUp() override { openSeries(3); }
};

// Rows of both queries: Null totals are 0, classes outside the order are left out
// by the all-classes query only, a class with an apostrophe is bound, and a race
// beyond the series file raises 3265.
TEST_F(IntermediateReaderTest, ReadsRowsOfBothQueries) {
    db().execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Lauf_1_Punkte, "
                 "Lauf_3_Punkte) VALUES (' Zorn ', 'Udo', 1979, 'U''18', ' SC Ost ', 12, 0)");
    db().execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Endwertung, "
                 "Zwischenwertung) VALUES ('Abel', 'Karl', 1981, 'M40', 'TV', 63, 0)");
    order("m40", 1);

    const Recordset all = db().openRecordset(intermediateStandingsQuery());
    ASSERT_EQ(all.recordCount(), 1);
    EXPECT_EQ(all.rows()[0][all.fieldIndex("Vorname")].textOrEmpty(), "Abel");

    const Recordset one = db().openRecordset(oneClassQuery(), {QStringLiteral("U'18")});
    ASSERT_EQ(one.recordCount(), 1);
    IntermediateRow row;
    IntermediateRowReader(one, 3, true).read(one.rows()[0], row);
    EXPECT_EQ(row.vorname + "|" + row.verein + "|" + row.jahrgang, "Zorn|SC Ost|1979");
    EXPECT_EQ(row.endwertung + row.zwischenwertung, 0);
    EXPECT_EQ(row.racesRun, 1);

    try {
        IntermediateRowReader(one, 4, false);
        FAIL() << "no error for race 4 of a series of three";
    } catch (const AppError &e) {
        EXPECT_EQ(e.number, err::ItemNotFound);
    }
}

TEST(IntermediateRowsTest, FieldsAreCutAfterTrimming) {
    EXPECT_EQ(standingsField(QStringLiteral("  Mustermann-Lüdenscheid  "), 10), "Mustermann");
    EXPECT_EQ(standingsField(QStringLiteral(" Anna Maria"), 5), "Anna");
}

}  // namespace
