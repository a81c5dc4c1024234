#include "platform/engine/Value.h"

#include "platform/errors/AppError.h"

#include <cmath>
#include <limits>
#include <vector>

namespace tarnis {

namespace {

[[noreturn]] void raiseNull() {
    throw AppError(err::InvalidUseOfNull, kRuntimeSource, QStringLiteral("Unzulässige Verwendung von Null"));
}

[[noreturn]] void raiseTypeMismatch() {
    throw AppError(err::TypeMismatch, kRuntimeSource, QStringLiteral("Typen unverträglich"));
}

[[noreturn]] void raiseOverflow() {
    throw AppError(err::Overflow, kRuntimeSource, QStringLiteral("Überlauf"));
}

// Whole-number conversion rounds halves to even, as the text rules' conversions do.
std::int64_t roundToInt64(double v) {
    if (!std::isfinite(v))
        raiseOverflow();
    const double r = std::nearbyint(v);  // default rounding mode: halves to even
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (r >= 9223372036854775808.0 || r < -9223372036854775808.0)
        raiseOverflow();
    return static_cast<std::int64_t>(r);
}

// A text as a number: blanks around it are allowed, "." is the decimal point.
// Whole numbers are read exactly; anything else that is no number is a type mismatch.
std::int64_t textToInt64(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        raiseTypeMismatch();
    bool ok = false;
    const qlonglong whole = t.toLongLong(&ok);
    if (ok)
        return whole;
    const double d = t.toDouble(&ok);
    if (!ok)
        raiseTypeMismatch();
    return roundToInt64(d);
}

double textToDouble(const QString &text) {
    const QString t = text.trimmed();
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || t.isEmpty())
        raiseTypeMismatch();
    return d;
}

// Lists and pages turn the same small numbers (points, places, years) into text row
// after row: each is formatted once. The program reads and writes values on one thread.
QString wholeNumberText(std::int64_t n) {
    constexpr std::int64_t kKept = 4096;
    if (n < 0 || n >= kKept) return QString::number(n);
    static std::vector<QString> kept(kKept);
    QString &text = kept[std::size_t(n)];
    if (text.isNull()) text = QString::number(n);
    return text;
}

}  // namespace

std::int64_t Value::toInt64() const {
    if (const auto *i = std::get_if<std::int64_t>(&data_))
        return *i;
    if (const auto *d = std::get_if<double>(&data_))
        return roundToInt64(*d);
    if (const auto *s = std::get_if<QString>(&data_))
        return textToInt64(*s);
    raiseNull();
}

std::int32_t Value::toLong() const {
    const std::int64_t v = toInt64();
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        raiseOverflow();
    return static_cast<std::int32_t>(v);
}

double Value::toDouble() const {
    if (const auto *i = std::get_if<std::int64_t>(&data_))
        return double(*i);
    if (const auto *d = std::get_if<double>(&data_))
        return *d;
    if (const auto *s = std::get_if<QString>(&data_))
        return textToDouble(*s);
    raiseNull();
}

QString Value::toText() const {
    if (const auto *i = std::get_if<std::int64_t>(&data_))
        return wholeNumberText(*i);
    if (const auto *d = std::get_if<double>(&data_))
        return QString::number(*d, 'g', 15);
    if (const auto *s = std::get_if<QString>(&data_))
        return *s;
    raiseNull();
}

QString Value::textOrEmpty() const {
    return isNull() ? QString() : toText();
}

}  // namespace tarnis
