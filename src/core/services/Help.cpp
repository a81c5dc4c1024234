#include "core/services/Help.h"

#include "platform/ui/Ui.h"

#include <QList>
#include <utility>

namespace tarnis {

namespace {
// Help texts by window tag; no window has one yet.
const QList<std::pair<QString, QString>> kHelpTexts;
}  // namespace

void ShowHelp() {
    ui().message(QStringLiteral("The HelpFile property has not been set for this project."),
                 MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Error!"));
}

void QuitHelp() {
    // no help viewer is ever opened, so there is none to close
}

QString GetHelpText(const QString &id) {
    for (const auto &[key, text] : kHelpTexts)
        if (key == id) return text;
    return QStringLiteral("Keine Hilfe vorhanden!");
}

}  // namespace tarnis
