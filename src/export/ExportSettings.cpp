#include "export/ExportSettings.h"

#include "export/HtmlWriter.h"
#include "platform/settings/Settings.h"
#include "platform/text/Vb.h"

namespace tarnis {

std::int32_t wholeSetting(const QString &section, const QString &key, std::int32_t fallback) {
    const QString text = GetSetting(section, key);
    return vb::Trim(text).isEmpty() ? fallback : vb::CLng(text);
}

bool boolSetting(const QString &section, const QString &key, bool fallback) {
    const QString text = GetSetting(section, key);
    return vb::Trim(text).isEmpty() ? fallback : vb::CBool(text);
}

QStringList htmlBlockTexts(const char *prefix) {
    const QString p = QString::fromLatin1(prefix);
    return {GetSetting(kHtmlSection, p + QStringLiteral(" links"), QStringLiteral(" ")),
            GetSetting(kHtmlSection, p + QStringLiteral(" mitte"), QStringLiteral(" ")),
            GetSetting(kHtmlSection, p + QStringLiteral(" rechts"), QStringLiteral(" "))};
}

}  // namespace tarnis
