#include "export/ExportFrame.h"

#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "export/HtmlWriter.h"

#include <exception>

namespace tarnis {

void finishHtmlPage(HtmlWriter &page, const QStringList &footer) {
    page.HTML_EndTable();
    page.HTML_WriteFooter(footer);
    page.HTML_WriteTail();
    page.HTML_CloseFile();
}

void reportExportFailure(const QString &hint, const QString &procedure) {
    const AppError error = toAppError(std::current_exception());
    HideWorking();
    ShowError(error, hint, procedure);
}

}  // namespace tarnis
