#include "about/AboutTexts.h"

#include "platform/files/FileUtils.h"
#include "platform/settings/Settings.h"
#include "platform/text/Clock.h"

#include <QCoreApplication>
#include <QStringList>

namespace tarnis {

QString ProgramVersionText() {
    return QStringLiteral("Version %1.%2.%3").arg(TARNIS_VERSION_MAJOR).arg(TARNIS_VERSION_MINOR).arg(TARNIS_VERSION_PATCH);
}

QString ProgramProductName() {
    const QString product = QCoreApplication::applicationName();
    return product.isEmpty() ? kAppTitle : product;
}

QString ProgramFileTimeText() { return formatDateTime(GetFileDate(QCoreApplication::applicationFilePath())); }

QString ProgramDisclaimer() {
    return QStringList{QStringLiteral("Warnung: Dieses Programm ist urheberrechtlich geschützt."),
                       QStringLiteral("Ohne Genehmigung des Rechteinhabers darf es weder"),
                       QStringLiteral("ganz noch in Teilen vervielfältigt oder verbreitet werden."),
                       QStringLiteral("Unerlaubte Vervielfältigung oder Verbreitung wird"),
                       QStringLiteral("zivil- und strafrechtlich verfolgt, soweit das Gesetz"),
                       QStringLiteral("es zulässt.")}
        .join(u'\r');
}

}  // namespace tarnis
