// The stored certificate layout: each reader's defaults, the orientation, template
// and centring rules, the content kinds and writing back.
#include "platform/errors/AppError.h"
#include "platform/settings/Settings.h"
#include "print/CertificateLayout.h"
#include "print_support.h"

#include <QTemporaryDir>
#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::certificate;

namespace {

class CertificateLayoutTest : public ::testing::Test {
protected:
    QTemporaryDir config;
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        reloadSettings();
    }
    static void set(const char *key, const char *value, const char *section = "Urkundendruck") {
        SaveSetting(QString::fromUtf8(section), QString::fromUtf8(key), QString::fromUtf8(value));
    }
};

// The key names are what stored layouts hold. The printers print nothing on a line never
// stored, the designer shows a text; the store keeps five lines. The two counts and their
// use are the season cases'.
TEST_F(CertificateLayoutTest, KeysEachReadersDefaultsAndCountsThatAreNoCount) {
    QStringList keys;
    for (LineField f : kLineFields) keys << lineKey(10, f);
    EXPECT_EQ(keys.join(u'|'), QStringLiteral("Zeile 10 Fontname|Zeile 10 Fontsize|Zeile 10 X-Pos|Zeile 10 Y-Pos|"
                                              "Zeile 10 Inhalt|Zeile 10 Text|Zeile 10 Farbe"));
    const LineSettings printer{"1000", "1000", "Arial", "12", "TEXT TEXT", "000000", "nichts"};
    EXPECT_EQ(readLine(3, Reader::Printer), printer);
    EXPECT_EQ(readLine(3, Reader::Designer).inhalt, QStringLiteral("Text"));
    EXPECT_EQ(readLineCountText(CountSource::LastUser), QStringLiteral("5"));
    EXPECT_EQ(printerOrientation(), print::Orientation::Portrait);
    for (const char *bad : {"drei", "40000"}) {
        set("Urkundenzeilen", bad);
        EXPECT_THROW(printerLineCount(CountSource::Urkundendruck), AppError) << bad;
    }
}

TEST_F(CertificateLayoutTest, Orientation) {
    struct Case {
        const char *hoch, *quer;
        print::Orientation printer;
        std::optional<bool> designerHoch;
    };
    using print::Orientation;
    const Case cases[] = {
        {"True", "True", Orientation::Portrait, true},
        {"False", "true", Orientation::Landscape, false},
        {"0", "-1", Orientation::Landscape, false},
        {"-1", "0", Orientation::Portrait, true},
        {"0", "0", Orientation::Portrait, false},
        // Querformat is not read while Hochformat holds.
        {"True", "quer", Orientation::Portrait, true},
    };
    for (const Case &c : cases) {
        set("Hochformat", c.hoch);
        set("Querformat", c.quer);
        EXPECT_EQ(printerOrientation(), c.printer) << c.hoch << " " << c.quer;
        EXPECT_EQ(designerOrientation().hochformat, c.designerHoch) << c.hoch;
    }
    // A text that is no truth value: the printers stop, the designer leaves its option alone.
    set("Hochformat", "hoch");
    EXPECT_THROW(printerOrientation(), AppError);
    EXPECT_EQ(designerOrientation().hochformat, std::nullopt);
    set("Hochformat", "False");
    EXPECT_THROW(printerOrientation(), AppError);  // Querformat is still "quer"
}

TEST(CertificateTemplateTest, PlaceholderRules) {
    const char *cases[][3] = {
        // text, value, line
        {"Platz %s", " 3.", "Platz   3."},
        {"Platz %s", "3.", "Platz  3."},
        {"%s, herzlichen Glückwunsch", "Eva Muster", "Eva Muster  herzlichen Glückwunsch"},
        {"%sPlatz", "3.", "3. latz"},  // the one character after the placeholder goes
        {"  %s gewinnt  ", "Eva", "Eva gewinnt"},
        {"Sieger %s im Lauf", "Eva", "Sieger  Eva"},  // what follows is dropped
        {"TEXT TEXT", " 3.", "3."},
        {"%S bleibt", "x", "x"},  // the placeholder is lower case only
        {"", "", ""},
        {"%s", "", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(applyTemplate(QString::fromUtf8(c[0]), QString::fromUtf8(c[1])), QString::fromUtf8(c[2]))
            << c[0];
}

TEST(CertificateTemplateTest, CentringAndConversion) {
    for (const char *x : {"0", "", "  0", "abc", "0.4", "-0.5", "0,9", " 0xyz", "1e-400", "NaN", "inf"})
        EXPECT_TRUE(centresLine(x)) << x;
    for (const char *x : {"1000", "-200", "0.6", "12abc", "1e400", "-1e400"}) EXPECT_FALSE(centresLine(x)) << x;
    // Widths rounded to whole twips, the halves kept.
    EXPECT_DOUBLE_EQ(centredX(11900, 3001), 4449.5);
    EXPECT_DOUBLE_EQ(centredX(11900.4, 3000.6), 4449.5);
    EXPECT_DOUBLE_EQ(centredX(16840, 20000), -1580);

    LineSettings s{"-200", "2000", "Liberation Serif", "24", " Platz %s ", "255", " Platzierung "};
    PrintLine p = convertForPrinting(0, s);
    EXPECT_EQ(p.content + "|" + p.text, QStringLiteral("Platzierung|Platz %s"));  // trimmed
    EXPECT_FALSE(p.centred);
    s.xPos = QStringLiteral("0abc");  // centring reads the leading number only
    EXPECT_TRUE(convertForPrinting(0, s).centred);

    // What the printers refuse: no whole number (13), beyond 32 bits (6), a giant font.
    // The message names the line, its key and the text.
    const struct {
        LineField field;
        const char *text, *named;
    } bad[] = {
        {LineField::Fontsize, "groß", "\"Zeile 3 Fontsize\" im Abschnitt \"Urkundendruck\": \"groß\"), Urkundenzeile 4"},
        {LineField::YPos, "1000x", "\"Zeile 3 Y-Pos\" im Abschnitt \"Urkundendruck\": \"1000x\"), Urkundenzeile 4"},
        {LineField::XPos, "12abc", "\"Zeile 3 X-Pos\" im Abschnitt \"Urkundendruck\": \"12abc\"), Urkundenzeile 4"},
        {LineField::Farbe, "rot", "\"Zeile 3 Farbe\" im Abschnitt \"Urkundendruck\": \"rot\"), Urkundenzeile 4"},
        {LineField::YPos, "9e99", "\"Zeile 3 Y-Pos\" im Abschnitt \"Urkundendruck\": \"9e99\"), Urkundenzeile 4"},
        {LineField::Fontsize, "5000", "Urkundenzeile 4 ist zu groß"},
    };
    for (const auto &b : bad) {
        LineSettings broken = s;
        broken[b.field] = QString::fromUtf8(b.text);
        try {
            convertForPrinting(3, broken);
            ADD_FAILURE() << b.text;
        } catch (const AppError &e) {
            EXPECT_TRUE(e.description.contains(QString::fromUtf8(b.named))) << e.description.toStdString();
        }
    }
}

// The designer's order, then two contents per race of MaxLaufErf, none for a count that is
// no number.
TEST_F(CertificateLayoutTest, ContentKindsFollowTheRaceCount) {
    const QString fixed = QStringLiteral("nichts Name Vorname Gesamtname Jahrgang Altersklasse Verein Endwertung "
                                         "Text Platzierung");
    EXPECT_EQ(contentKinds(designerRaceCount()).join(u' '), fixed);
    set("MaxLaufErf", "2", "LastUser");
    EXPECT_EQ(contentKinds(designerRaceCount()).join(u' '),
              fixed + " Lauf_1_Punkte Lauf_1_Zeit Lauf_2_Punkte Lauf_2_Zeit");
    set("MaxLaufErf", "zwei", "LastUser");
    EXPECT_EQ(designerRaceCount(), 0);
}

TEST_F(CertificateLayoutTest, WritingKeepsLinesAboveTheCount) {
    std::vector<LineSettings> lines;
    for (int n = 0; n < 8; ++n)
        lines.push_back(
            {QString::number(100 * n), "500", "Arial", "12", QStringLiteral("Zeile %1").arg(n), "0", "Text"});
    writeLines(lines);
    writeLineCountText(CountSource::Urkundendruck, QStringLiteral("8"));

    // The count lowered to 5 and line 1 edited: only lines 0 to 4 are written.
    lines.resize(5);
    lines[1].text = QStringLiteral("neu");
    lines[1].farbe = QStringLiteral("16777215");
    writeLines(lines);
    writeLineCountText(CountSource::Urkundendruck, QStringLiteral("5"));
    EXPECT_EQ(GetSetting("Urkundendruck", "Zeile 1 Farbe"), QStringLiteral("16777215"));
    EXPECT_EQ(readLines(printerLineCount(CountSource::Urkundendruck), Reader::Designer), lines);

    // Raised to 8 again, the old lines 5 to 7 come back.
    writeLineCountText(CountSource::Urkundendruck, QStringLiteral("8"));
    const std::vector<LineSettings> back = readLines(8, Reader::Designer);
    EXPECT_EQ(back[1].text, QStringLiteral("neu"));
    EXPECT_EQ(back[7].text, QStringLiteral("Zeile 7"));
    EXPECT_EQ(back[7].xPos, QStringLiteral("700"));
    EXPECT_TRUE(readLines(0, Reader::Printer).empty());
    EXPECT_TRUE(readLines(-1, Reader::Printer).empty());
}

}  // namespace
