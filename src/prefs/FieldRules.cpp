#include "prefs/FieldRules.h"

#include "platform/errors/AppError.h"
#include "platform/text/Vb.h"

#include <cmath>
#include <limits>

namespace tarnis::prefs {

namespace {

double roundHalfEven(double v) { return std::nearbyint(v); }  // the default rounding mode is to even

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
    try {
        return std::fabs(vb::Val(text)) > double(std::numeric_limits<std::int32_t>::max());
    } catch (const AppError &) {
        return true;  // beyond any number
    }
}

bool creationRaceCount(const QString &text, int &races) {
    const double rounded = roundHalfEven(vb::Val(text));
    if (!(rounded >= 1 && rounded <= 50)) return false;
    races = int(rounded);
    return true;
}

QString numberText(double value) {
    if (std::isfinite(value) && std::fabs(value) < 1e15 && value == std::trunc(value))
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

QString pressSpinDown(const QString &text) {
    const double v = roundHalfEven(vb::Val(text) - 1);
    return numberText(v < 1 ? 1 : v);
}

QString pressSpinUp(const QString &text) { return numberText(vb::Val(text) + 1); }

QString positionSpin(const QString &text, int delta) { return numberText(vb::Val(text) + delta); }

int fieldNumber(const QString &text) {
    const double v = roundHalfEven(vb::Val(text));
    if (std::isnan(v)) return 0;
    if (v <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    if (v >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return int(v);
}

}  // namespace tarnis::prefs
