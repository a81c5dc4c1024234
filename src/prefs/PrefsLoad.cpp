#include "prefs/PrefsLoad.h"

#include "platform/files/ProgramFolder.h"
#include "platform/settings/Settings.h"
#include "platform/text/TextRules.h"
#include "prefs/FieldRules.h"

#include <limits>

namespace tarnis::prefs {

namespace {

// A font size shown as a whole number; a size that is no number shows the default.
QString wholeSize(const QString &key, int fallback) {
    return QString::number(textrules::readNumber(GetSetting(kListendruck, key, QString::number(fallback)), fallback));
}

}  // namespace

Colour readColour(const QString &section, const QString &key, Colour fallback) {
    const std::int64_t v = textrules::readNumber(GetSetting(section, key, QString::number(fallback)), fallback);
    // Colours are 32 bits; a system colour written as its unsigned value is accepted too.
    if (v >= std::numeric_limits<Colour>::min() && v <= std::numeric_limits<Colour>::max()) return Colour(v);
    if (v > 0 && v <= std::int64_t(std::numeric_limits<quint32>::max())) return Colour(quint32(v));
    return fallback;
}

GeneralPage LoadGrundeinstellungen() {
    GeneralPage p;
    // The count fields empty any text that is no whole number as soon as they show it.
    p.anzForEW = filterCountField(GetSettingOrDefault(kLastUser, QStringLiteral("LaufAnzForEW"), QStringLiteral("3")));
    p.maxAnzForEW = filterCountField(GetSettingOrDefault(kLastUser, QStringLiteral("LaufAnzMaxForEW"), QStringLiteral("3")));
    p.maxLaufErf = filterCountField(GetSettingOrDefault(kLastUser, QStringLiteral("MaxLaufErf"), QStringLiteral("3")));
    p.database = GetSetting(kLastUser, QStringLiteral("Datenbank"), ProgramFolder() + QStringLiteral("/Tarnis.mdb"));
    p.jahrhundert = GetSettingOrDefault(kLastUser, QStringLiteral("Default JH"), QStringLiteral("19"));
    p.platzGleichPunkte = textrules::readBool(GetSetting(kLastUser, QStringLiteral("PlPuZuord"), QStringLiteral("0")), false);
    // Exactly "P" is points; anything else, "p" included, is time.
    p.punkte = GetSetting(kLastUser, QStringLiteral("Modus"), QStringLiteral("P")) == QLatin1String("P");
    return p;
}

ListPage LoadListendruck() {
    ListPage p;
    const QString arial = QStringLiteral("Arial");
    p.fonts[kFooterFont] = {GetSettingOrDefault(kListendruck, QStringLiteral("Footer Fontname"), arial),
                            wholeSize(QStringLiteral("Footer FontSize"), 12)};
    p.fonts[kGruppenFont] = {GetSettingOrDefault(kListendruck, QStringLiteral("Gruppen Fontname"), arial),
                             wholeSize(QStringLiteral("Gruppen FontSize"), 12)};
    // This one size is shown as stored.
    p.fonts[kGruppenueberschriftFont] = {
        GetSettingOrDefault(kListendruck, QStringLiteral("Gruppenueberschrift Fontname"), arial),
        GetSettingOrDefault(kListendruck, QStringLiteral("Gruppenueberschrift FontSize"), QStringLiteral("12"))};
    p.fonts[kListeKleinFont] = {GetSettingOrDefault(kListendruck, QStringLiteral("Listen Fontname Klein"), arial),
                                wholeSize(QStringLiteral("Listen FontSize Klein"), 19)};
    p.fonts[kListeGrossFont] = {GetSettingOrDefault(kListendruck, QStringLiteral("Listen Fontname Groß"), arial),
                                wholeSize(QStringLiteral("Listen FontSize Groß"), 10)};
    p.colorGruppe = readColour(kListendruck, QStringLiteral("Color Gruppe"), 0);
    p.colorListenkopf = readColour(kListendruck, QStringLiteral("Color Listenkopf"), 0);
    p.kopfzeile = GetSetting(kListendruck, QStringLiteral("Headertext"), kDefaultHeadertext);
    p.fusszeile = GetSetting(kListendruck, QStringLiteral("Footertext"), kDefaultFootertext);
    p.minWTforPrinting = GetSetting(kListendruck, QStringLiteral("MinWTforPrinting"), QStringLiteral("0"));
    p.formatEndwertung = GetSetting(kListendruck, QStringLiteral("EW-Format"), QString());
    p.formatZwischen = GetSetting(kListendruck, QStringLiteral("ZW-Format"), QString());
    p.gitterJa = textrules::readBool(GetSetting(kListendruck, QStringLiteral("Gitter"), QStringLiteral("0")), false);
    return p;
}

QString LoadUrkundeCountField() { return GetSetting(kUrkundendruck, QStringLiteral("Urkundenzeilen"), QStringLiteral("5")); }

HtmlPage LoadHTMLEinstellungen() {
    HtmlPage p;
    // Set one after the other as option buttons are.
    const QString keys[3] = {QStringLiteral("Alle TN"), QStringLiteral("Endwertung TN"),
                             QStringLiteral("Zwischenwertung TN")};
    const char *defaults[3] = {"1", "0", "0"};
    for (int i = 0; i < 3; ++i) {
        const bool on = textrules::readBool(GetSetting(kHtmlListen, keys[i], QString::fromLatin1(defaults[i])), i == 0);
        setOption(p.selTN, i, on);
    }
    const QString positions[3] = {QStringLiteral("links"), QStringLiteral("mitte"), QStringLiteral("rechts")};
    for (int i = 0; i < 3; ++i) {
        p.header[i] = GetSetting(kHtmlListen, QStringLiteral("Header ") + positions[i], QString());
        p.footer[i] = GetSetting(kHtmlListen, QStringLiteral("Footer ") + positions[i], QString());
    }
    p.text = readColour(kHtmlListen, QStringLiteral("Text"), 0);
    p.dokument = readColour(kHtmlListen, QStringLiteral("Dokument"), 12362580);
    p.tabellenheader = readColour(kHtmlListen, QStringLiteral("Tabellenheader"), 12632319);
    p.tabelle = readColour(kHtmlListen, QStringLiteral("Tabelle"), 11976544);
    p.anzeigeprog = GetSetting(kHtmlListen, QStringLiteral("Anzeigeprog"), QString());
    p.anzeigen = textrules::readBool(GetSetting(kHtmlListen, QStringLiteral("Anzeigen"), QStringLiteral("0")), false);
    return p;
}

GridPage LoadGridStyle() {
    GridPage p;
    const QString sansSerif = QStringLiteral("MS Sans Serif");
    p.cellFont = {GetSettingOrDefault(kGrid, QStringLiteral("FontName"), sansSerif),
                  GetSettingOrDefault(kGrid, QStringLiteral("FontSize"), QStringLiteral("8"))};
    p.headFont = {GetSettingOrDefault(kGrid, QStringLiteral("HeadFontName"), sansSerif),
                  GetSettingOrDefault(kGrid, QStringLiteral("HeadFontSize"), QStringLiteral("8"))};
    p.backColorEven = readColour(kGrid, QStringLiteral("BackColorEven"), 0xFFFFFF);
    p.backColorOdd = readColour(kGrid, QStringLiteral("BackColorOdd"), 0xC0C0FF);
    p.backColor = readColour(kGrid, QStringLiteral("BackColor"), Colour(0x8000000F));
    // The style the preview grid gets from the grid styling (3 when none is stored).
    const std::int64_t style = textrules::readNumber(GetSetting(kGrid, QStringLiteral("HeadFont3D"), QStringLiteral("3")), 3);
    p.headFont3D = style >= 0 && style <= 4 ? int(style) : 3;
    // A caption never stored shows its race number, as every reader of it does.
    for (int n = 1; n <= kCaptionRows; ++n)
        p.captions[n - 1] = GetSetting(kGrid, QStringLiteral("Caption%1").arg(n), QString::number(n));
    return p;
}

QString LoadPresseliste() { return GetSettingOrDefault(kPresseliste, QStringLiteral("AnzTn"), QStringLiteral("10")); }

}  // namespace tarnis::prefs
