#include "platform/text/TextRules.h"

#include "platform/errors/AppError.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace tarnis::textrules {
namespace {

[[noreturn]] void raise(int number, const QString &description) {
    throw AppError(number, kRuntimeSource, description);
}

[[noreturn]] void invalidCall() { raise(err::InvalidProcedureCall, QStringLiteral("Ungültiger Prozeduraufruf oder ungültiges Argument")); }
[[noreturn]] void overflow() { raise(err::Overflow, QStringLiteral("Überlauf")); }
[[noreturn]] void typeMismatch() { raise(err::TypeMismatch, QStringLiteral("Typen unverträglich")); }

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Reads "&H..." / "&O..." at pos; the number takes the width of its digits
// (up to four hex digits is a signed 16-bit value, so "&HFFFF" is -1).
std::optional<double> readRadix(const QString &s, qsizetype &pos) {
    if (pos + 1 >= s.size() || s.at(pos) != u'&') return std::nullopt;
    const QChar kind = s.at(pos + 1).toUpper();
    const int radix = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
    if (!radix) return std::nullopt;
    qsizetype i = pos + 2;
    quint64 value = 0;
    int digits = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s.at(i).toUpper().unicode();
        const int d = (c >= u'0' && c <= u'9') ? c - u'0' : (c >= u'A' && c <= u'F') ? c - u'A' + 10 : 99;
        if (d >= radix) break;
        value = value * quint64(radix) + quint64(d);
        if (++digits > 22) return std::nullopt;
    }
    pos = i;
    const bool narrow = radix == 16 ? digits <= 4 : value <= 0xFFFF;
    if (narrow) return double(std::int16_t(std::uint16_t(value)));
    if (value <= 0xFFFFFFFFull) return double(std::int32_t(std::uint32_t(value)));
    return double(value);
}

// The decimal number starting at pos ("." as decimal point, optional exponent with
// E or D); nothing when no digit is found. skipBlanks drops blanks, tabs and line feeds
// between the characters, as Val does.
std::optional<double> readDecimal(const QString &s, qsizetype &pos, bool skipBlanks) {
    QString clean;
    qsizetype i = pos;
    auto skip = [&] {
        while (skipBlanks && i < s.size() && (s.at(i) == u' ' || s.at(i) == u'\t' || s.at(i) == u'\n')) ++i;
    };
    skip();
    if (i < s.size() && (s.at(i) == u'+' || s.at(i) == u'-')) clean += s.at(i++);
    skip();
    bool digits = false;
    while (i < s.size() && isDigit(s.at(i))) { clean += s.at(i++); digits = true; skip(); }
    if (i < s.size() && s.at(i) == u'.') {
        clean += u'.';
        ++i;
        skip();
        while (i < s.size() && isDigit(s.at(i))) { clean += s.at(i++); digits = true; skip(); }
    }
    if (!digits) return std::nullopt;
    if (i < s.size() && (s.at(i).toUpper() == u'E' || s.at(i).toUpper() == u'D')) {
        qsizetype j = i + 1;
        QString exp = QStringLiteral("e");
        if (j < s.size() && (s.at(j) == u'+' || s.at(j) == u'-')) exp += s.at(j++);
        bool expDigits = false;
        while (j < s.size() && isDigit(s.at(j))) { exp += s.at(j++); expDigits = true; }
        if (expDigits) { clean += exp; i = j; }
    }
    pos = i;
    bool ok = false;
    const double v = clean.toDouble(&ok);
    // Out of range: too large stays infinite (the callers raise overflow), too small is 0.
    return ok || std::isinf(v) ? v : 0.0;
}

// The whole text (blanks around it allowed) as a number; nothing when it is none.
std::optional<double> parseNumber(const QString &text) {
    const QString s = Trim(text);
    if (s.isEmpty()) return std::nullopt;
    qsizetype pos = 0;
    std::optional<double> v = readRadix(s, pos);
    if (!v) {
        pos = 0;
        v = readDecimal(s, pos, false);
    }
    if (!v || pos != s.size()) return std::nullopt;
    return v;
}

double roundHalfEven(double v) {
    // Done by hand so that a changed floating-point rounding mode cannot alter it.
    const double r = std::floor(v);
    const double diff = v - r;
    if (diff > 0.5) return r + 1;
    if (diff < 0.5) return r;
    return std::fmod(r, 2.0) == 0 ? r : r + 1;
}

// The characters from begin to end (code units); a character outside the Basic Multilingual
// Plane that the range would cut in two is left out whole, so a cut never exceeds its width.
QString whole(const QString &s, qsizetype begin, qsizetype end) {
    if (begin > 0 && begin < s.size() && s.at(begin).isLowSurrogate() && s.at(begin - 1).isHighSurrogate()) ++begin;
    if (end > begin && end < s.size() && s.at(end).isLowSurrogate() && s.at(end - 1).isHighSurrogate()) --end;
    return s.mid(begin, std::max<qsizetype>(0, end - begin));
}

}  // namespace

QString LTrim(const QString &s) {
    qsizetype i = 0;
    while (i < s.size() && s.at(i) == u' ') ++i;
    return s.mid(i);
}

QString RTrim(const QString &s) {
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == u' ') --n;
    return s.left(n);
}

QString Trim(const QString &s) { return LTrim(RTrim(s)); }

double ValUnbounded(const QString &s) {
    qsizetype pos = 0;
    while (pos < s.size() && (s.at(pos) == u' ' || s.at(pos) == u'\t' || s.at(pos) == u'\n')) ++pos;
    if (auto v = readRadix(s, pos)) return *v;
    if (auto v = readDecimal(s, pos, true)) return *v;
    return 0;
}

double Val(const QString &s) {
    const double v = ValUnbounded(s);
    if (std::isinf(v)) overflow();
    return v;
}

std::int32_t CLng(double v) {
    if (std::isnan(v)) overflow();
    const double r = roundHalfEven(v);
    if (r < double(std::numeric_limits<std::int32_t>::min()) || r > double(std::numeric_limits<std::int32_t>::max()))
        overflow();
    return std::int32_t(r);
}

std::int16_t CInt(double v) {
    if (std::isnan(v)) overflow();
    const double r = roundHalfEven(v);
    if (r < -32768.0 || r > 32767.0) overflow();
    return std::int16_t(r);
}

std::int32_t CLng(const QString &s) {
    const auto v = parseNumber(s);
    if (!v) typeMismatch();
    return CLng(*v);
}

QString Mid(const QString &s, int start, int length) {
    if (start < 1 || length < -1) invalidCall();
    if (start > s.size()) return QString();
    const qsizetype begin = start - 1;
    return whole(s, begin, length < 0 ? s.size() : std::min<qsizetype>(s.size(), begin + length));
}

int InStr(const QString &s, const QString &find, int start) {
    if (start < 1) invalidCall();
    if (start > s.size()) return 0;
    if (find.isEmpty()) return start;
    return int(s.indexOf(find, start - 1)) + 1;
}

QString Left(const QString &s, int length) {
    if (length < 0) invalidCall();
    return whole(s, 0, std::min<qsizetype>(s.size(), length));
}

QString Right(const QString &s, int length) {
    if (length < 0) invalidCall();
    return whole(s, std::max<qsizetype>(0, s.size() - length), s.size());
}

bool IsNumeric(const QString &s) {
    const auto v = parseNumber(s);
    return v && std::isfinite(*v);
}

bool CBool(const QString &s) {
    const QString t = Trim(s);
    if (t.compare(u"True", Qt::CaseInsensitive) == 0 || t.compare(u"Wahr", Qt::CaseInsensitive) == 0) return true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0 || t.compare(u"Falsch", Qt::CaseInsensitive) == 0) return false;
    const auto v = parseNumber(t);
    if (!v) typeMismatch();
    return *v != 0;
}

bool readBool(const QString &s, bool fallback) {
    try {
        return CBool(s);
    } catch (const AppError &) {
        return fallback;
    }
}

std::int64_t readNumber(const QString &s, std::int64_t fallback) {
    const auto v = parseNumber(s);
    if (!v) return fallback;
    const double r = roundHalfEven(*v);
    if (!(r >= -9.2e18 && r <= 9.2e18)) return fallback;
    return std::int64_t(r);
}

}  // namespace tarnis::textrules
