#pragma once
// The page loaders of the preferences dialog: each page's values from the settings
// store, with the defaults the page reads. A stored number a page cannot read
// (a colour or size that is no number) shows the page's default instead, and so does
// a count, size or font name saved empty, as every other reader of the key reads it.
#include "prefs/PrefsState.h"

namespace tarnis::prefs {

// Section names as the store keeps them.
inline const QString kLastUser = QStringLiteral("LastUser");
inline const QString kListendruck = QStringLiteral("Listendruck");
inline const QString kUrkundendruck = QStringLiteral("Urkundendruck");
inline const QString kHtmlListen = QStringLiteral("HTML Listen");
inline const QString kGrid = QStringLiteral("Grid");
inline const QString kPresseliste = QStringLiteral("Presseliste");

// The default page header and footer the list page offers before anything is stored.
inline const QString kDefaultHeadertext = QStringLiteral("Serienwertung");
inline const QString kDefaultFootertext = QStringLiteral("Lrv. Tarnis");

// Sets option `index` of a group the way an option button is set: turning one on turns
// the others off, turning one off touches only itself (so all may end off).
template <std::size_t N>
void setOption(std::array<bool, N> &group, std::size_t index, bool on) {
    if (on) group.fill(false);
    group[index] = on;
}

// A stored colour; a text that is no whole number of 32 bits gives `fallback`.
Colour readColour(const QString &section, const QString &key, Colour fallback);

GeneralPage LoadGrundeinstellungen();
ListPage LoadListendruck();
// What the list page puts into the certificate page's line-count field.
QString LoadUrkundeCountField();
HtmlPage LoadHTMLEinstellungen();
GridPage LoadGridStyle();
QString LoadPresseliste();

}  // namespace tarnis::prefs
