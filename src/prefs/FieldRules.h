#pragma once
// How the dialog's text fields turn typed text into numbers: the whole-number
// count fields, the spin arrows and the numbers the preview and the save take.
#include <QString>

namespace tarnis::prefs {

// Digits only, blanks around allowed; the empty text is none.
bool isWholeNumberText(const QString &text);

// The count fields (races, race counts): a text that is no whole number empties it.
QString filterCountField(const QString &text);

// The certificate line-count field: Empty when the text is no whole number (the
// field is emptied), TooLarge from 16 on (also beyond any 16-bit number), else Valid
// with `count` set.
enum class LineCountCheck { Empty, Valid, TooLarge };
LineCountCheck checkLineCount(const QString &text, int &count);

// The press-list count field: a leading number beyond the whole-number range, which
// the press lists read it as, is too large (also one beyond any number, "1e400").
bool pressCountTooLarge(const QString &text);

// A number as the fields show it: "." as decimal point, no exponent for ordinary sizes.
QString numberText(double value);

// The press-list spin: down rounds half to even and stops at 1, up adds 1 unrounded.
// A spin leaves a number beyond any range as it is.
QString pressSpinDown(const QString &text);
QString pressSpinUp(const QString &text);
// The position spins: the leading number plus `delta` (±50), unrounded, unlimited.
QString positionSpin(const QString &text, int delta);

// A font size the grid preview takes from a field: the leading number; 0 (no size,
// the font's own) when there is none or it is beyond any range.
double fontSizeNumber(const QString &text);

// A number the preview takes from a field: the leading number rounded half to even,
// 0 when there is none (clamped to the whole-number range).
int fieldNumber(const QString &text);

}  // namespace tarnis::prefs
