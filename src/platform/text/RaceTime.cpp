#include "platform/text/RaceTime.h"

#include "platform/text/TextRules.h"

#include <QStringList>
#include <optional>

namespace tarnis {
namespace {

// A time of day in the forms h:mm:ss, hh:mm:ss, h:mm, hh:mm (hours 0-23, minutes and
// seconds 0-59), after a text of exactly five characters got "00:" in front.
std::optional<std::int64_t> readTime(const QString &text) {
    const QString s = text.size() == 5 ? QStringLiteral("00:") + text : text;
    const QStringList parts = s.split(u':');
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    int values[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &p = parts[i];
        if (p.isEmpty() || p.size() > 2) return std::nullopt;
        for (QChar c : p)
            if (c < u'0' || c > u'9') return std::nullopt;
        values[i] = p.toInt();
    }
    if (values[0] > 23 || values[1] > 59 || values[2] > 59) return std::nullopt;
    return std::int64_t(values[0]) * 3600 + values[1] * 60 + values[2];
}

}  // namespace

std::int64_t raceTimeToSeconds(const QString &text) { return readTime(text).value_or(0); }

QString secondsToHms(std::int64_t seconds) {
    const bool negative = seconds < 0;
    // Widened before negating so that the smallest value cannot overflow.
    const unsigned long long s = negative ? 0ull - static_cast<unsigned long long>(seconds)
                                          : static_cast<unsigned long long>(seconds);
    const QString text = QStringLiteral("%1:%2:%3")
                             .arg(s / 3600, 2, 10, QLatin1Char('0'))
                             .arg((s / 60) % 60, 2, 10, QLatin1Char('0'))
                             .arg(s % 60, 2, 10, QLatin1Char('0'));
    return negative ? u'-' + text : text;
}

QString raceTimeAsHms(const QString &text) {
    const auto seconds = readTime(text);
    return seconds ? secondsToHms(*seconds) : textrules::Trim(text);
}

}  // namespace tarnis
