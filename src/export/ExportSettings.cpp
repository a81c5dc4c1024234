#include "export/ExportSettings.h"

#include "export/HtmlWriter.h"
#include "platform/settings/Settings.h"

namespace tarnis {

QStringList htmlBlockTexts(const char *prefix) {
    const QString p = QString::fromLatin1(prefix);
    return {GetSetting(kHtmlSection, p + QStringLiteral(" links"), QStringLiteral(" ")),
            GetSetting(kHtmlSection, p + QStringLiteral(" mitte"), QStringLiteral(" ")),
            GetSetting(kHtmlSection, p + QStringLiteral(" rechts"), QStringLiteral(" "))};
}

}  // namespace tarnis
