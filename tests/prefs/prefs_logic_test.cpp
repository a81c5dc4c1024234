// The preferences without a window: the field rules, the stored forms, the page
// loaders' defaults and fallbacks, and the order in which one save writes.
#include "common/DiskFull.h"
#include "core/dialogs/GetDatabase.h"
#include "core/import_support.h"
#include "prefs/CertificateDesigner.h"
#include "prefs/FieldRules.h"
#include "prefs/PrefsLoad.h"
#include "prefs/PrefsSave.h"

#include <climits>

using namespace tarnis;
using namespace tarnis::prefs;
using namespace tarnis::testing;

namespace {

TEST(PrefsFields, CountsSpinsAndStoredForms) {
    // Count fields keep whole numbers only; the line count stops at 16.
    for (const char *kept : {"3", " 12 ", "0"}) EXPECT_EQ(filterCountField(kept), kept);
    for (const char *emptied : {"1a", "", "2.5", "-3", "1e3"})
        EXPECT_EQ(filterCountField(emptied), "") << emptied;
    int count = -1;
    EXPECT_EQ(checkLineCount("15", count), LineCountCheck::Valid);
    EXPECT_EQ(count, 15);
    EXPECT_EQ(checkLineCount("16", count), LineCountCheck::TooLarge);
    EXPECT_EQ(checkLineCount("99999999999999999999999", count), LineCountCheck::TooLarge);
    EXPECT_EQ(checkLineCount("-1", count), LineCountCheck::Empty);

    // "&Datenbank erstellen" reads the count as the database dialog does: rounded.
    const struct {
        const char *text;
        std::optional<int> races;
    } creation[] = {{"50", 50}, {"51", {}}, {"0", {}}, {"", {}}, {"0.4", {}}, {"1.5", 2}, {"2.5", 2}};
    for (const auto &c : creation) EXPECT_EQ(RaceCountFromText(c.text), c.races) << c.text;

    // Spins: the press count rounds down to no less than 1, goes up unrounded;
    // positions move by 50 without limits. Stored forms of numbers and colours.
    const std::pair<QString, const char *> shown[] = {
        {pressSpinDown("1"), "1"},      {pressSpinDown(""), "1"},           {pressSpinDown("3.5"), "2"},
        {pressSpinUp(""), "1"},         {pressSpinUp("2.5"), "3.5"},        {positionSpin("", -50), "-50"},
        {positionSpin("100", 50), "150"}, {pressCountText(""), "0"},        {pressCountText("x"), "0"},
        {pressCountText("2.5"), "2.5"}, {colourText(Colour(0x8000000F)), "-2147483633"},
    };
    for (const auto &[got, expected] : shown) EXPECT_EQ(got, expected);
    EXPECT_EQ(fieldNumber("12.5"), 12);  // halves to even
    EXPECT_EQ(fieldNumber("13.5"), 14);
    EXPECT_EQ(fieldNumber("abc"), 0);

    // Numbers beyond any range: the spins leave them, the preview clamps them.
    for (const char *text : {"1e400", "-1e400"}) {
        EXPECT_EQ(pressSpinUp(text), text);
        EXPECT_EQ(positionSpin(text, -50), text);
    }
    EXPECT_EQ(pressSpinDown("-1e400"), "1");
    EXPECT_EQ(fieldNumber("1e400"), INT_MAX);
    EXPECT_EQ(fieldNumber("-1e400"), INT_MIN);
    EXPECT_EQ(fontSizeNumber("9.5 pt"), 9.5);

    // An emptied line-count field never stores an empty count.
    CertificatePage page;
    page.mUrkundenzeilen = 4;
    page.edtUrkunde = "";
    EXPECT_EQ(storedLineCount(page), "4");
    page.edtUrkunde = "7";
    EXPECT_EQ(storedLineCount(page), "7");
}

class PrefsStore : public SeriesTest {};

TEST_F(PrefsStore, LoadersFallBackToThePageDefaults) {
    SaveSetting("Listendruck", "Footer FontSize", "12.5");
    SaveSetting("Listendruck", "Gruppenueberschrift FontSize", "12.5");
    SaveSetting("Listendruck", "Listen FontSize Klein", "gross");
    SaveSetting("Listendruck", "Color Gruppe", "rot");
    SaveSetting("Grid", "BackColorOdd", "");
    SaveSetting("Grid", "Caption2", "");
    SaveSetting("Grid", "HeadFont3D", "9");
    SaveSetting("LastUser", "Modus", "p");
    SaveSetting("LastUser", "MaxLaufErf", "1a");

    const ListPage lists = LoadListendruck();
    EXPECT_EQ(lists.fonts[kFooterFont].size, "12");               // rounded half to even
    EXPECT_EQ(lists.fonts[kGruppenueberschriftFont].size, "12.5");  // shown as stored
    EXPECT_EQ(lists.fonts[kListeKleinFont].size, "19");
    EXPECT_EQ(lists.fonts[kListeGrossFont].size, "10");
    EXPECT_EQ(lists.colorGruppe, 0);
    EXPECT_EQ(lists.kopfzeile, kDefaultHeadertext);

    const GridPage grid = LoadGridStyle();
    EXPECT_EQ(grid.backColorOdd, 0xC0C0FF);
    EXPECT_EQ(grid.backColor, Colour(0x8000000F));
    EXPECT_EQ(grid.headFont3D, 3);
    EXPECT_EQ(grid.captions[0], "1");  // never stored: the race number
    EXPECT_EQ(grid.captions[1], "");   // cleared on purpose
    EXPECT_EQ(grid.captions[29], "30");

    const GeneralPage general = LoadGrundeinstellungen();
    EXPECT_FALSE(general.punkte);
    EXPECT_EQ(general.maxLaufErf, "");
    EXPECT_EQ(general.anzForEW, "3");

    // The participant options are set one after the other as option buttons are.
    const struct {
        const char *all, *final, *intermediate;
        std::array<bool, 3> shown;
    } options[] = {{"-1", "-1", "-1", {false, false, true}},
                   {"0", "0", "0", {false, false, false}},
                   {"-1", "0", "-1", {false, false, true}},
                   {"0", "-1", "0", {false, true, false}}};
    for (const auto &o : options) {
        SaveSetting("HTML Listen", "Alle TN", o.all);
        SaveSetting("HTML Listen", "Endwertung TN", o.final);
        SaveSetting("HTML Listen", "Zwischenwertung TN", o.intermediate);
        EXPECT_EQ(LoadHTMLEinstellungen().selTN, o.shown) << o.all << o.final << o.intermediate;
    }
}

TEST_F(PrefsStore, DesignerLoadsTheOrientationWhateverTheCount) {
    // With no line to load, the stored orientation still reaches the options, so a
    // save does not put the previous state over it.
    SaveSetting("Urkundendruck", "Hochformat", "False");
    SaveSetting("Urkundendruck", "Querformat", "True");
    SaveSetting("Urkundendruck", "Zeile 0 Farbe", "rot");
    CertificatePage shown;
    const CertificatePage none = LoadUrkundeLayout(0, shown);
    EXPECT_FALSE(none.hochformat);
    EXPECT_TRUE(none.querformat);
    // The two options are set one after the other, as option buttons are: both true
    // leaves the later one; a value that is no truth value leaves its option alone.
    const struct {
        const char *storedHoch, *storedQuer;
        bool shownHoch, shownQuer, hoch, quer;
    } options[] = {
        {"True", "True", true, false, false, true},   {"-1", "-1", true, false, false, true},
        {"True", "False", false, true, true, false},  {"False", "False", true, false, false, false},
        {"hoch", "True", true, false, false, true},   {"True", "quer", false, true, true, false},
    };
    for (const auto &o : options) {
        SaveSetting("Urkundendruck", "Hochformat", o.storedHoch);
        SaveSetting("Urkundendruck", "Querformat", o.storedQuer);
        CertificatePage before;
        before.hochformat = o.shownHoch;
        before.querformat = o.shownQuer;
        const CertificatePage loaded = LoadUrkundeLayout(0, before);
        EXPECT_EQ(std::make_pair(loaded.hochformat, loaded.querformat), std::make_pair(o.hoch, o.quer))
            << o.storedHoch << " " << o.storedQuer;
    }
    shown.lines[0].colour = 255;
    const CertificatePage one = LoadUrkundeLayout(1, shown);
    EXPECT_EQ(one.lines[0].colour, 0);  // a colour that is no number shows black
    EXPECT_EQ(one.lines[0].inhalt, "Text");
}

// A state as the pages would hold it after loading an empty store.
PreferencesState loadedState(int lines) {
    PreferencesState s;
    s.certificate.edtUrkunde = QString::number(lines);
    s.certificate.mUrkundenzeilen = lines;
    s.lists = LoadListendruck();
    s.general = LoadGrundeinstellungen();
    s.html = LoadHTMLEinstellungen();
    s.grid = LoadGridStyle();
    s.presseAnzTn = LoadPresseliste();
    return s;
}

TEST_F(PrefsStore, OneSaveWritesEveryKeyInItsOrder) {
    SaveSetting("LastUser", "Modus", "P");
    SaveSetting("Urkundendruck", "Zeile 3 Fontname", "Old English");
    PreferencesState state = loadedState(3);
    state.general.punkte = false;
    state.lists.formatEndwertung = "  ^1000;  ";

    QStringList writes;
    const bool modeChanged =
        SaveEinstellungen(state, [&](const QString &section, const QString &key, const QString &value) {
            writes << section + "/" + key + "=" + value;
            SaveSetting(section, key, value);
        });
    // The change is told by the caller once the file holds it, not among the writes.
    EXPECT_TRUE(modeChanged);
    EXPECT_THAT(ui.messages(), IsEmpty());

    // Every key in its place: the pages' order, each page's own order.
    QStringList expected{"Urkundendruck/Urkundenzeilen", "Urkundendruck/Background Picture"};
    const char *suffixes[] = {"Fontname", "Fontsize", "X-Pos", "Y-Pos", "Inhalt", "Text", "Farbe"};
    for (int line = 0; line < 3; ++line)
        for (const char *suffix : suffixes) expected << QStringLiteral("Urkundendruck/Zeile %1 %2").arg(line).arg(suffix);
    const auto keys = [&expected](const char *section, const QStringList &names) {
        for (const QString &name : names) expected << QString::fromUtf8(section) + u'/' + name;
    };
    keys("Urkundendruck", {"Hochformat", "Querformat"});
    keys("Listendruck", {"Footer Fontname", "Footer FontSize", "Gruppen Fontname", "Gruppen FontSize",
                         "Gruppenueberschrift Fontname", "Gruppenueberschrift FontSize", "Listen Fontname klein",
                         "Listen FontSize klein", "Listen Fontname groß", "Listen FontSize groß", "Color Gruppe",
                         "Color Listenkopf", "Headertext", "Footertext", "MinWTforPrinting", "Gitter", "ZW-Format",
                         "EW-Format"});
    keys("LastUser", {"Modus", "PlPuZuord", "Datenbank", "LaufAnzForEW", "LaufAnzMaxForEW", "MaxLaufErf", "Default JH"});
    keys("HTML Listen", {"Text", "Dokument", "Tabellenheader", "Tabelle", "Header links", "Header mitte",
                         "Header rechts", "Footer links", "Footer mitte", "Footer rechts", "Alle TN", "Endwertung TN",
                         "Zwischenwertung TN", "Anzeigeprog", "Anzeigen"});
    keys("Grid", {"FontName", "FontSize", "FontBold", "HeadFontName", "HeadFontSize", "HeadFontBold", "BackColorEven",
                  "BackColorOdd", "BackColor", "HeadFont3D"});
    keys("Presseliste", {"AnzTn"});
    for (int n = 1; n <= 30; ++n) expected << QStringLiteral("Grid/Caption%1").arg(n);
    QStringList written;
    for (const QString &w : writes) written << w.section(u'=', 0, 0);
    EXPECT_EQ(written, expected);

    EXPECT_EQ(writes[0], "Urkundendruck/Urkundenzeilen=3");
    EXPECT_EQ(writes[23], "Urkundendruck/Hochformat=True");
    EXPECT_EQ(writes[24], "Urkundendruck/Querformat=False");
    const qsizetype mode = writes.indexOf("LastUser/Modus=Z");
    ASSERT_GT(mode, 0);
    EXPECT_EQ(writes[mode - 1], "Listendruck/EW-Format=^1000;");
    EXPECT_TRUE(writes.contains("Listendruck/Listen FontSize klein=19"));
    EXPECT_TRUE(writes.contains("Grid/BackColor=-2147483633"));
    EXPECT_TRUE(writes.contains("Presseliste/AnzTn=10"));
    EXPECT_EQ(writes.last(), "Grid/Caption30=30");
    EXPECT_EQ(writes[writes.size() - 30], "Grid/Caption1=1");
    // Keys of lines beyond the count stay as they were.
    EXPECT_EQ(GetSetting("Urkundendruck", "Zeile 3 Fontname"), "Old English");
    EXPECT_EQ(GetSetting("Listendruck", "Listen FontSize Klein"), "19");  // one value whatever the case
}

TEST_F(PrefsStore, AFailingWriteStopsTheSave) {
    int writes = 0;
    const auto failing = [&](const QString &, const QString &key, const QString &) {
        if (key == "Footertext") throw AppError(75, kRuntimeSource, "Schreibfehler");
        ++writes;
    };
    EXPECT_EQ(errorOf([&] { SaveEinstellungen(loadedState(0), failing); }), 75);
    EXPECT_EQ(writes, 2 + 2 + 13);  // certificate rows, orientation and the list keys before it
}

TEST_F(PrefsStore, ASaveIsOneWriteOfTheFileOrNone) {
    SaveSetting("LastUser", "Modus", "P");
    SaveEinstellungen(loadedState(0));
    const QByteArray before = fileBytes(settingsFilePath());
    PreferencesState bigger = loadedState(15);
    for (CertificateLine &line : bigger.certificate.lines) line.text = QString(40, u'x');
    bigger.lists.kopfzeile = "Stadtlauf-Serie";
    // The file may grow a little, not by all that the save adds: a save key by key
    // would have replaced it several times before the limit.
    const std::string answer = inChild(
        [&] {
            const int error = errorOf([&] { SaveEinstellungen(bigger); });
            return std::to_string(error) + " " + GetSetting("Listendruck", "Headertext").toStdString() + " " +
                   GetSetting("Urkundendruck", "Urkundenzeilen").toStdString();
        },
        rlim_t(before.size() + 200));
    EXPECT_EQ(answer, "75 Serienwertung 0");  // reported once, the store as the file holds it
    EXPECT_EQ(fileBytes(settingsFilePath()), before);
    EXPECT_THAT(ui.messages(), IsEmpty());
}

}  // namespace
