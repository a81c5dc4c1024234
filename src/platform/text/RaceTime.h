#pragma once
// Race times as text and as seconds.
#include <QString>
#include <cstdint>

namespace tarnis {

// "hh:mm:ss" or "h:mm:ss" as a time, "mm:ss" (five characters) as 00:mm:ss,
// "hh:mm" as hours and minutes; anything else gives 0.
std::int64_t raceTimeToSeconds(const QString &text);
// Seconds as "hh:mm:ss" with no 16-bit or 24-hour limit (hours grow past 99).
QString secondsToHms(std::int64_t seconds);
// A race time text shown as "hh:mm:ss", read as the scoring reads it.
QString raceTimeAsHms(const QString &text);

}  // namespace tarnis
