#include "mainwin/commands/ExportCommands.h"

#include "core/db/Globals.h"
#include "core/dialogs/RaceSelection.h"
#include "export/ClubHtml.h"
#include "export/FinalStandingsHtml.h"
#include "export/GridHtml.h"
#include "export/HtmlCommand.h"
#include "export/IntermediateHtml.h"
#include "export/MailMerge.h"
#include "export/PressLists.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

namespace tarnis {
void mnuSerExport(MainWindowApi &) { EI_Export(); }

void mnuVWHTMLReport(MainWindowApi &) {
    runHtmlCommand(QStringLiteral("Vereinswertung.html"), QStringLiteral("mnuVWHTMLReport"),
                   &HTML_ExportVereinswertung);
}

QString classPageFileName(const QString &ageClass) {
    return textrules::Trim(ageClass).replace(u'/', u'-') + QStringLiteral(".html");
}

void mnuAKLHTMLReport(MainWindowApi &) {
    try {
        QStringList classes;
        const Recordset rs =
            db().openRecordset(QStringLiteral("SELECT Altersklasse FROM AKLSortIndex ORDER BY \"Index\", Altersklasse"));
        for (const std::vector<Value> &row : rs.rows()) classes << row[0].textOrEmpty();
        const auto ageClass = SelectAgeClass(classes);
        if (!ageClass) return;
        runHtmlCommand(classPageFileName(*ageClass), QStringLiteral("mnuAKLHTMLReport"),
                       [&](const QString &path) { HTML_ExportGruppe(path, *ageClass); });
    } catch (...) {
        ui().message(toAppError(std::current_exception()).description, MsgButtons::Ok, MsgIcon::Critical);
    }
}

void mnuZWHTMLReport(MainWindowApi &) {
    runHtmlCommand(QStringLiteral("Zwischenwertung.html"), QStringLiteral("mnuZWHTMLReport"),
                   &HTML_ExportZwischenwertung);
}

void mnuZwPresseliste(MainWindowApi &) {
    if (const auto path = askExportFile(QStringLiteral("Presseliste (ZW).txt"), ExportFileKind::Text))
        PRESSE_ExportZwischenwertung(*path);
}

void mnuEWHTMLReport(MainWindowApi &) { CommandHtmlEndwertung(); }

void mnuEwPresseliste(MainWindowApi &) {
    if (const auto path = askExportFile(QStringLiteral("Presseliste (EW).txt"), ExportFileKind::Text))
        PRESSE_ExportEndwertung(*path);
}

void mnuGridHTMLReport(MainWindowApi &window) {
    if (window.gridRowCount() <= 0) {
        ui().message(QStringLiteral("Keine Daten gefunden!"), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    runHtmlCommand(QStringLiteral("Anzeige.html"), QStringLiteral("mnuGridHTMLReport"),
                   [&](const QString &path) { HTML_ExportGrid(path, window); });
}

}  // namespace tarnis
