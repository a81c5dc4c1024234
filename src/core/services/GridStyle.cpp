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

GridStyle ReadGridStyle() {
    const QString grid = QStringLiteral("Grid");
    auto colour = [&](const char *key, const char *fallback) {
        const double v = SettingNumber(grid, QString::fromUtf8(key), QString::fromUtf8(fallback));
        if (!std::isfinite(v) || std::fabs(v) > 4294967295.0)
            throw AppError(err::Overflow, kRuntimeSource, QStringLiteral("Überlauf (Grid/%1)").arg(QString::fromUtf8(key)));
        return std::int64_t(std::nearbyint(v));
    };
    GridStyle s;
    s.headFontName = GetSettingOrDefault(grid, QStringLiteral("HeadFontName"), QStringLiteral("MS Sans Serif"));
    s.headFontSize = SettingNumber(grid, QStringLiteral("HeadFontSize"), QStringLiteral("8"));
    s.head3D = int(SettingNumber(grid, QStringLiteral("HeadFont3D"), QStringLiteral("3")));
    s.fontName = GetSettingOrDefault(grid, QStringLiteral("FontName"), QStringLiteral("MS Sans Serif"));
    s.fontSize = SettingNumber(grid, QStringLiteral("FontSize"), QStringLiteral("8"));
    s.backColor = colour("BackColor", "-2147483633");
    s.backColorEven = colour("BackColorEven", "16777215");
    s.backColorOdd = colour("BackColorOdd", "12632319");
    s.foreColor = colour("ForeColor", "0");
    s.foreColorEven = colour("ForeBackColorEven", "0");
    s.foreColorOdd = colour("ForeBackColorOdd", "0");
    return s;
}

}  // namespace tarnis
