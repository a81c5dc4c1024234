#pragma once
// The look of every participant grid, read from section Grid of the settings: the
// main window's grid and the grids of the preferences share it.
#include "platform/errors/AppError.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace tarnis {

// The grid style of section Grid, read in the order the keys are listed.
struct GridStyle {
    QString headFontName;
    double headFontSize = 8;
    int head3D = 3;        // 0 none, 1 raised light, 2 raised heavy, 3 inset light, 4 inset heavy
    QString fontName;
    double fontSize = 8;
    std::int64_t backColor = 0;
    std::int64_t backColorEven = 0;
    std::int64_t backColorOdd = 0;
    std::int64_t foreColor = 0;
    std::int64_t foreColorEven = 0;
    std::int64_t foreColorOdd = 0;
};
// Stored settings that did not convert, each with the error that names its key and value.
using BadSettings = std::vector<AppError>;

// Reads one setting through `read`. Without `bad` a setting that does not convert
// raises; with it, the error is added there and `fallback` taken in its place.
template <typename T, typename Read>
T SettingOr(BadSettings *bad, T fallback, Read &&read) {
    if (!bad) return read();
    try {
        return read();
    } catch (const AppError &e) {
        bad->push_back(e);
        return fallback;
    }
}

// Raises 13 for a size, style or colour that is no number, 380 for a 3-D style
// outside 0 to 4.
GridStyle ReadGridStyle();
// The same, but a key that does not convert takes its default and is added to `bad`.
GridStyle ReadGridStyle(BadSettings &bad);

// A setting read as a number the way a control converts it: a text that is no
// number raises 13 naming the setting.
double SettingNumber(const QString &section, const QString &key, const QString &fallback);
// The same for a number whose size must not pass `limit`: a larger one raises 6 naming
// the setting.
double SettingNumberWithin(const QString &section, const QString &key, const QString &fallback, double limit);

}  // namespace tarnis
