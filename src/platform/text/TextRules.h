#pragma once
// The program's text and number rules (trimming, cutting, reading numbers, whole-number
// and Boolean conversion), in one place.
#include <QString>
#include <cstdint>

namespace tarnis::textrules {

// Removes leading and trailing blanks (only the blank, not tabs or line ends).
QString Trim(const QString &s);
QString LTrim(const QString &s);
QString RTrim(const QString &s);
// The leading number of a text ("." as decimal point, blanks skipped, "&H" hex); 0 when none.
// A number too large for a double ("1e400") raises 6.
double Val(const QString &s);
// The same leading number without the error: one too large for a double is
// +/- infinity, for readers that treat it like any other number out of their range.
double ValUnbounded(const QString &s);
// Whole-number conversion rounding halves to even; outside the range raises 6,
// a text that is no number raises 13.
std::int32_t CLng(double v);
std::int16_t CInt(double v);
std::int32_t CLng(const QString &s);
// 1-based Mid, InStr, Left, Right; a start below 1 raises 5. Counted in UTF-16 code
// units; a character outside the Basic Multilingual Plane that a cut would split is
// left out whole, so the result never exceeds the length asked for.
QString Mid(const QString &s, int start, int length = -1);
int InStr(const QString &s, const QString &find, int start = 1);
QString Left(const QString &s, int length);
QString Right(const QString &s, int length);
// True when the whole text, blanks around it allowed, is one finite number: decimal
// ("." as decimal point, exponent with E or D) or "&H"/"&O".
bool IsNumeric(const QString &s);
// Boolean settings: "-1", "True", "Wahr" and any non-zero number are true; "0",
// "False", "Falsch" false; anything else raises 13.
bool CBool(const QString &s);
// Boolean setting with a default for text that is no Boolean.
bool readBool(const QString &s, bool fallback);
// Stored number with the reader's default when the text is no whole number.
std::int64_t readNumber(const QString &s, std::int64_t fallback);

}  // namespace tarnis::textrules
