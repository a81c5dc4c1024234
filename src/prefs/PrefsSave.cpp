#include "prefs/PrefsSave.h"

#include "platform/settings/Settings.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"
#include "prefs/CertificateDesigner.h"
#include "prefs/FieldRules.h"
#include "prefs/PrefsLoad.h"

namespace tarnis::prefs {

QString colourText(Colour colour) { return QString::number(colour); }

QString trueFalseText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

QString minusOneText(bool value) { return value ? QStringLiteral("-1") : QStringLiteral("0"); }

QString pressCountText(const QString &field) { return numberText(textrules::Val(field)); }

QString storedLineCount(const CertificatePage &page) {
    int count = 0;
    if (checkLineCount(page.edtUrkunde, count) == LineCountCheck::Valid) return page.edtUrkunde;
    return QString::number(page.mUrkundenzeilen);
}

QString modeChangeMessage() {
    return QStringLiteral("Sie haben den Wertungsmodus geändert!\r"
                          "Bitte starten Sie das Lrv. Tarnis neu,\r"
                          "damit alle Einstellungen übernommen werden!\r"
                          "Bitte die Läufe neu werten!");
}

namespace {

void saveCertificate(const CertificatePage &c, const SettingWriter &write) {
    write(kUrkundendruck, QStringLiteral("Urkundenzeilen"), storedLineCount(c));
    write(kUrkundendruck, QStringLiteral("Background Picture"), c.background);
    saveCertificateLines(c, write);
    write(kUrkundendruck, QStringLiteral("Hochformat"), trueFalseText(c.hochformat));
    write(kUrkundendruck, QStringLiteral("Querformat"), trueFalseText(c.querformat));
}

void saveLists(const ListPage &l, const SettingWriter &write) {
    const char *names[5][2] = {{"Footer Fontname", "Footer FontSize"},
                               {"Gruppen Fontname", "Gruppen FontSize"},
                               {"Gruppenueberschrift Fontname", "Gruppenueberschrift FontSize"},
                               {"Listen Fontname klein", "Listen FontSize klein"},
                               {"Listen Fontname groß", "Listen FontSize groß"}};
    for (int i = 0; i < 5; ++i) {
        write(kListendruck, QString::fromUtf8(names[i][0]), l.fonts[i].name);
        write(kListendruck, QString::fromUtf8(names[i][1]), l.fonts[i].size);
    }
    write(kListendruck, QStringLiteral("Color Gruppe"), colourText(l.colorGruppe));
    write(kListendruck, QStringLiteral("Color Listenkopf"), colourText(l.colorListenkopf));
    write(kListendruck, QStringLiteral("Headertext"), l.kopfzeile);
    write(kListendruck, QStringLiteral("Footertext"), l.fusszeile);
    write(kListendruck, QStringLiteral("MinWTforPrinting"), l.minWTforPrinting);
    write(kListendruck, QStringLiteral("Gitter"), minusOneText(l.gitterJa));
    write(kListendruck, QStringLiteral("ZW-Format"), textrules::Trim(l.formatZwischen));
    write(kListendruck, QStringLiteral("EW-Format"), textrules::Trim(l.formatEndwertung));
}

// True when the scoring mode differs from the stored one.
bool saveGeneral(const GeneralPage &g, const SettingWriter &write) {
    // Every reader of the mode takes "P" when none is stored: a first save without
    // a change is no change.
    const QString stored = GetSetting(kLastUser, QStringLiteral("Modus"), QStringLiteral("P"));
    const QString mode = g.punkte ? QStringLiteral("P") : QStringLiteral("Z");
    write(kLastUser, QStringLiteral("Modus"), mode);
    write(kLastUser, QStringLiteral("PlPuZuord"), minusOneText(g.platzGleichPunkte));
    write(kLastUser, QStringLiteral("Datenbank"), g.database);
    write(kLastUser, QStringLiteral("LaufAnzForEW"), g.anzForEW);
    write(kLastUser, QStringLiteral("LaufAnzMaxForEW"), g.maxAnzForEW);
    write(kLastUser, QStringLiteral("MaxLaufErf"), g.maxLaufErf);
    write(kLastUser, QStringLiteral("Default JH"), g.jahrhundert);
    return mode != stored;
}

void saveHtml(const HtmlPage &h, const SettingWriter &write) {
    write(kHtmlListen, QStringLiteral("Text"), colourText(h.text));
    write(kHtmlListen, QStringLiteral("Dokument"), colourText(h.dokument));
    write(kHtmlListen, QStringLiteral("Tabellenheader"), colourText(h.tabellenheader));
    write(kHtmlListen, QStringLiteral("Tabelle"), colourText(h.tabelle));
    const QString positions[3] = {QStringLiteral("links"), QStringLiteral("mitte"), QStringLiteral("rechts")};
    for (int i = 0; i < 3; ++i) write(kHtmlListen, QStringLiteral("Header ") + positions[i], h.header[i]);
    for (int i = 0; i < 3; ++i) write(kHtmlListen, QStringLiteral("Footer ") + positions[i], h.footer[i]);
    write(kHtmlListen, QStringLiteral("Alle TN"), minusOneText(h.selTN[0]));
    write(kHtmlListen, QStringLiteral("Endwertung TN"), minusOneText(h.selTN[1]));
    write(kHtmlListen, QStringLiteral("Zwischenwertung TN"), minusOneText(h.selTN[2]));
    write(kHtmlListen, QStringLiteral("Anzeigeprog"), h.anzeigeprog);
    write(kHtmlListen, QStringLiteral("Anzeigen"), minusOneText(h.anzeigen));
}

void saveGrid(const GridPage &g, const SettingWriter &write) {
    write(kGrid, QStringLiteral("FontName"), g.cellFont.name);
    write(kGrid, QStringLiteral("FontSize"), g.cellFont.size);
    write(kGrid, QStringLiteral("FontBold"), g.fontBold);
    write(kGrid, QStringLiteral("HeadFontName"), g.headFont.name);
    write(kGrid, QStringLiteral("HeadFontSize"), g.headFont.size);
    write(kGrid, QStringLiteral("HeadFontBold"), g.headFontBold);
    write(kGrid, QStringLiteral("BackColorEven"), colourText(g.backColorEven));
    write(kGrid, QStringLiteral("BackColorOdd"), colourText(g.backColorOdd));
    write(kGrid, QStringLiteral("BackColor"), colourText(g.backColor));
    write(kGrid, QStringLiteral("HeadFont3D"), QString::number(g.headFont3D));
}

void SaveGridCaptions(const GridPage &g, const SettingWriter &write) {
    for (int n = 1; n <= kCaptionRows; ++n) write(kGrid, QStringLiteral("Caption%1").arg(n), g.captions[n - 1]);
}

}  // namespace

bool SaveEinstellungen(const PreferencesState &state, const SettingWriter &write) {
    saveCertificate(state.certificate, write);
    saveLists(state.lists, write);
    const bool modeChanged = saveGeneral(state.general, write);
    saveHtml(state.html, write);
    saveGrid(state.grid, write);
    write(kPresseliste, QStringLiteral("AnzTn"), pressCountText(state.presseAnzTn));
    SaveGridCaptions(state.grid, write);
    return modeChanged;
}

void SaveEinstellungen(const PreferencesState &state) {
    // One write of the file for all keys: a failure leaves the file, and the store, as they were.
    SettingsBatch batch;
    const bool modeChanged = SaveEinstellungen(state, &SaveSetting);
    batch.commit();
    // Only a mode that is in the file has changed: a save that failed must not announce it.
    if (modeChanged) ui().message(modeChangeMessage(), MsgButtons::Ok, MsgIcon::Information);
}

}  // namespace tarnis::prefs
