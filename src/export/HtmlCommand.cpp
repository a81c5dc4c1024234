#include "export/HtmlCommand.h"

#include "core/services/ShowError.h"
#include "export/FinalStandingsHtml.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

namespace tarnis {

std::optional<QString> askExportFile(const QString &defaultName, ExportFileKind kind) {
    FileDialogRequest request;
    const bool html = kind == ExportFileKind::Html;
    request.title = html ? QStringLiteral("HTML Datei speichern unter ...") : QStringLiteral("Datei speichern unter ...");
    request.filter = html ? QStringLiteral("HTML (*.html)") : QStringLiteral("Text (*.txt)");
    request.fileName = defaultName;
    const QString path = ui().saveFileName(request);
    if (textrules::Trim(path).isEmpty()) {
        ui().message(QStringLiteral("Bitte einen Dateinamen angeben!"), MsgButtons::Ok, MsgIcon::Information);
        return std::nullopt;
    }
    return path;
}

void runHtmlCommand(const QString &defaultName, const QString &procedure,
                    const std::function<void(const QString &)> &exportPage) {
    const auto path = askExportFile(defaultName, ExportFileKind::Html);
    if (!path) return;
    exportPage(*path);
    // A viewer setting that does not work must not pass in silence.
    try {
        ShowHtmlInViewer(*path);
    } catch (...) {
        ShowError(toAppError(std::current_exception()), QString(), procedure);
    }
}

}  // namespace tarnis
