#pragma once
// The organiser's header and footer texts of the HTML pages.
#include <QString>
#include <QStringList>

namespace tarnis {

// The three texts of the header or footer block of an HTML page, left, centre and
// right: blockTexts("Header") or blockTexts("Footer").
QStringList htmlBlockTexts(const char *prefix);

}  // namespace tarnis
