#pragma once
// What the pages of the preferences dialog hold, as plain values: the loaders fill
// it from the settings store, the form shows and edits it, the save writes it back.
// Field names follow the controls they stand for.
#include <QString>
#include <array>
#include <cstdint>

namespace tarnis::prefs {

// A colour as the store keeps it: 0x00BBGGRR, a system colour 0x800000nn (negative).
using Colour = std::int32_t;

constexpr int kCertificateLines = 15;
constexpr int kCaptionRows = 30;

struct FontRow {
    QString name;  // edtFontName(i)
    QString size;  // edtGroesse(i)
};

struct CertificateLine {
    QString fontName, fontSize;  // edtFontName(n), edtGroesse(n)
    QString xPos, yPos;          // edtXPos(n), edtYPos(n)
    QString inhalt;              // cboInhalt(n) text
    QString text;                // edtText(n)
    Colour colour = 0;           // shaFarbe(n)
};

struct CertificatePage {
    QString edtUrkunde = QStringLiteral("1");  // the line-count field
    int mUrkundenzeilen = 0;                    // lines shown, drawn and saved
    QString background;                         // edtBackground
    bool hochformat = true, querformat = false;
    std::array<CertificateLine, kCertificateLines> lines;
};

// The five list fonts, rows 100 to 104.
enum ListFont { kFooterFont, kGruppenFont, kGruppenueberschriftFont, kListeKleinFont, kListeGrossFont };

struct ListPage {
    std::array<FontRow, 5> fonts;
    Colour colorGruppe = 0, colorListenkopf = 0;  // Shape1, Shape2
    QString kopfzeile, fusszeile;
    QString minWTforPrinting;
    bool gitterJa = false;
    QString formatZwischen, formatEndwertung;
};

struct GeneralPage {
    bool punkte = true;  // optPunkte; optZeit otherwise
    bool platzGleichPunkte = false;  // SSCPlPu
    QString database, anzForEW, maxAnzForEW, maxLaufErf, jahrhundert;
};

struct HtmlPage {
    Colour text = 0, dokument = 0, tabellenheader = 0, tabelle = 0;  // shaFarbe 114, 111, 112, 113
    std::array<QString, 3> header, footer;                           // left, centre, right
    std::array<bool, 3> selTN{true, false, false};                   // all, final, intermediate
    QString anzeigeprog;
    bool anzeigen = false;
};

struct GridPage {
    FontRow headFont, cellFont;  // rows 15 and 16
    QString headFontBold, fontBold;  // edtFontBold(15), (16): empty until a font is chosen
    Colour backColorEven = 0, backColorOdd = 0, backColor = 0;  // shaFarbe 17, 16, 15
    int headFont3D = 3;  // the preview grid's heading style, 0 to 4
    std::array<QString, kCaptionRows> captions;
};

struct PreferencesState {
    CertificatePage certificate;
    ListPage lists;
    GeneralPage general;
    HtmlPage html;
    GridPage grid;
    QString presseAnzTn;  // edtPresseAnzTn
};

}  // namespace tarnis::prefs
