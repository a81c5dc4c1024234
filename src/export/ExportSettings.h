#pragma once
// The settings the exports read, each with the reader's own default.
#include <QString>
#include <QStringList>
#include <cstdint>

namespace tarnis {

// A whole-number setting. Stored empty it takes the default (the preferences store an
// empty field as ""); any other text that is no number raises 13.
std::int32_t wholeSetting(const QString &section, const QString &key, std::int32_t fallback);
// A truth-value setting ("-1", "0", "True", ...), with the same rule for empty text.
bool boolSetting(const QString &section, const QString &key, bool fallback);
// The three texts of the header or footer block of an HTML page, left, centre and
// right: blockTexts("Header") or blockTexts("Footer").
QStringList htmlBlockTexts(const char *prefix);

}  // namespace tarnis
