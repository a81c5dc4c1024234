#include "core/services/GridStyle.h"

#include "platform/errors/AppError.h"
#include "platform/settings/Settings.h"
#include "platform/text/TextRules.h"

#include <cmath>

namespace tarnis {

double SettingNumber(const QString &section, const QString &key, const QString &fallback) {
    // A size field the preferences left empty is stored as "": the default then.
    const QString text = GetSettingOrDefault(section, key, fallback);
    if (!textrules::IsNumeric(text))
        throw AppError(err::TypeMismatch, kRuntimeSource,
                       QStringLiteral("Typen unverträglich (%1/%2 = \"%3\")").arg(section, key, text));
    return textrules::Val(textrules::Trim(text));
}

double SettingNumberWithin(const QString &section, const QString &key, const QString &fallback, double limit) {
    const double v = SettingNumber(section, key, fallback);
    if (!std::isfinite(v) || std::fabs(v) > limit)
        throw AppError(err::Overflow, kRuntimeSource, QStringLiteral("Überlauf (%1/%2)").arg(section, key));
    return v;
}

namespace {

// The heading's 3-D style: rounded as the grid rounds its whole-number properties,
// and refused outside the five styles.
int head3DSetting(const QString &grid) {
    const QString key = QStringLiteral("HeadFont3D");
    const double v = std::nearbyint(SettingNumber(grid, key, QStringLiteral("3")));
    if (!(v >= 0 && v <= 4))
        throw AppError(err::InvalidPropertyValue, kRuntimeSource,
                       QStringLiteral("Ungültiger Eigenschaftswert (%1/%2 = \"%3\")")
                           .arg(grid, key, GetSettingOrDefault(grid, key, QStringLiteral("3"))));
    return int(v);
}

GridStyle readGridStyle(BadSettings *bad) {
    const QString grid = QStringLiteral("Grid");
    auto number = [&](const char *key, double fallback) {
        return SettingOr(bad, fallback, [&] {
            return SettingNumber(grid, QString::fromUtf8(key), QString::number(fallback));
        });
    };
    auto colour = [&](const char *key, std::int64_t fallback) {
        return SettingOr(bad, fallback, [&] {
            return std::int64_t(std::nearbyint(
                SettingNumberWithin(grid, QString::fromUtf8(key), QString::number(fallback), 4294967295.0)));
        });
    };
    GridStyle s;
    s.headFontName = GetSettingOrDefault(grid, QStringLiteral("HeadFontName"), QStringLiteral("MS Sans Serif"));
    s.headFontSize = number("HeadFontSize", 8);
    s.head3D = SettingOr(bad, 3, [&] { return head3DSetting(grid); });
    s.fontName = GetSettingOrDefault(grid, QStringLiteral("FontName"), QStringLiteral("MS Sans Serif"));
    s.fontSize = number("FontSize", 8);
    s.backColor = colour("BackColor", -2147483633);
    s.backColorEven = colour("BackColorEven", 16777215);
    s.backColorOdd = colour("BackColorOdd", 12632319);
    s.foreColor = colour("ForeColor", 0);
    s.foreColorEven = colour("ForeBackColorEven", 0);
    s.foreColorOdd = colour("ForeBackColorOdd", 0);
    return s;
}

}  // namespace

GridStyle ReadGridStyle() { return readGridStyle(nullptr); }

GridStyle ReadGridStyle(BadSettings &bad) { return readGridStyle(&bad); }

}  // namespace tarnis
