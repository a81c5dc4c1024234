#include "export/ClubHtml.h"

#include "core/db/Globals.h"
#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "export/ExportFrame.h"
#include "export/ExportSettings.h"
#include "export/FinalStandingsHtml.h"
#include "export/HtmlWriter.h"
#include "platform/ui/Ui.h"

namespace tarnis {

QString clubStandingsQuery() {
    return QStringLiteral("SELECT Verein, COUNT(*) FROM Teilnehmer WHERE Endwertung > 0"
                          " GROUP BY Verein ORDER BY COUNT(*) DESC, Verein");
}

void HTML_ExportVereinswertung(const QString &path) {
    try {
        const QStringList header = htmlBlockTexts("Header");
        const QStringList footer = htmlBlockTexts("Footer");
        const Recordset rs = db().openRecordset(clubStandingsQuery());
        if (rs.recordCount() < 1) {
            ui().message(kClubHtmlEmpty, MsgButtons::Ok, MsgIcon::Information);
            return;
        }

        HtmlWriter page;
        if (!page.HTML_OpenFile(path)) {
            ui().message(kHtmlNotCreated, MsgButtons::Ok, MsgIcon::Critical);
            return;
        }
        page.HTML_WriteHead(QStringLiteral("Lorvane Tarnis - Vereinswertung"));
        page.HTML_WriteHeader(header);
        ShowWorking(rs.recordCount());
        page.HTML_BeginTable({QStringLiteral("Platz"), QStringLiteral("Verein"), QStringLiteral("Teilnehmer")},
                             QStringLiteral("-"), QStringLiteral("Ergebnisse"));
        int place = 0;
        for (const std::vector<Value> &row : rs.rows()) {
            StepWorking();
            page.HTML_WriteRow({QString::number(++place), row[0].textOrEmpty(), row[1].textOrEmpty()});
        }
        finishHtmlPage(page, footer);
        HideWorking();
    } catch (...) {
        reportExportFailure(kPrinterHint, QStringLiteral("HTML_ExportVereinswertung"));
    }
}

}  // namespace tarnis
