#include "prefs/FieldRules.h"

#include "platform/text/TextRules.h"

#include <cmath>
#include <limits>

namespace tarnis::prefs {

namespace {

double roundHalfEven(double v) { return std::nearbyint(v); }  // the default rounding mode is to even

// A spin from a number beyond any range ("1e400") leaves the field as it is, as a
// step of 50 leaves 1e300 as it is.
QString stepped(const QString &text, double value) { return std::isfinite(value) ? numberText(value) : text; }

}  // namespace

bool isWholeNumberText(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return false;
    for (QChar c : t)
        if (c < u'0' || c > u'9') return false;
    return true;
}

QString filterCountField(const QString &text) { return isWholeNumberText(text) ? text : QString(); }

LineCountCheck checkLineCount(const QString &text, int &count) {
    if (!isWholeNumberText(text)) return LineCountCheck::Empty;
    const QString digits = text.trimmed();
    bool ok = false;
    const qulonglong value = digits.toULongLong(&ok);
    // More digits than any number has are "too large" as well.
    if (!ok || value >= 16) return LineCountCheck::TooLarge;
    count = int(value);
    return LineCountCheck::Valid;
}

bool pressCountTooLarge(const QString &text) {
    return std::fabs(textrules::ValUnbounded(text)) > double(std::numeric_limits<std::int32_t>::max());
}

QString numberText(double value) {
    if (std::isfinite(value) && std::fabs(value) < 1e15 && value == std::trunc(value))
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

QString pressSpinDown(const QString &text) {
    const double v = roundHalfEven(textrules::ValUnbounded(text) - 1);
    return stepped(text, v < 1 ? 1 : v);
}

QString pressSpinUp(const QString &text) { return stepped(text, textrules::ValUnbounded(text) + 1); }

QString positionSpin(const QString &text, int delta) { return stepped(text, textrules::ValUnbounded(text) + delta); }

double fontSizeNumber(const QString &text) {
    const double v = textrules::ValUnbounded(text);
    return std::isfinite(v) ? v : 0;
}

int fieldNumber(const QString &text) {
    const double v = roundHalfEven(textrules::ValUnbounded(text));
    if (std::isnan(v)) return 0;
    if (v <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    if (v >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return int(v);
}

}  // namespace tarnis::prefs
