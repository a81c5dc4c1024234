#include "export/FinalStandingsHtml.h"

#include "core/db/Globals.h"
#include "core/db/PunkteRichtung.h"
#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "export/ExportFrame.h"
#include "export/ExportSettings.h"
#include "export/HtmlCommand.h"
#include "export/HtmlWriter.h"
#include "platform/settings/Settings.h"
#include "platform/text/RaceTime.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"
#include "print/ClassRanking.h"
#include "print/FinalStandingsList.h"
#include "print/ListFrame.h"

#include <QFileInfo>
#include <QProcess>

namespace tarnis {
namespace {

class RealStarter : public ProgramStarter {
public:
    bool startDetached(const QString &program, const QStringList &arguments) override {
        return QProcess::startDetached(program, arguments);
    }
};

ProgramStarter *gStarter = nullptr;

}  // namespace

ProgramStarter &programStarter() {
    static RealStarter real;
    return gStarter ? *gStarter : real;
}

void setProgramStarter(ProgramStarter *starter) { gStarter = starter; }

void HTML_ExportEndwertung(const QString &path) {
    try {
        const QStringList header = htmlBlockTexts("Header");
        const QStringList footer = htmlBlockTexts("Footer");
        const bool points = GetSetting(QStringLiteral("LastUser"), QStringLiteral("Modus"), QStringLiteral("P")) ==
                            QStringLiteral("P");
        const int direction = points ? DB_GetPunkteRichtung(db()) : richtung::Gleich;
        const Recordset rs = db().openRecordset(finalStandingsQuery(direction));
        if (rs.recordCount() < 1) {
            ui().message(kEndwertungHtmlEmpty, MsgButtons::Ok, MsgIcon::Information);
            return;
        }

        HtmlWriter page;
        if (!page.HTML_OpenFile(path)) {
            ui().message(kHtmlNotCreated, MsgButtons::Ok, MsgIcon::Critical);
            return;
        }
        page.HTML_WriteHead(QStringLiteral("Lorvane Tarnis - Endwertung"));
        page.HTML_WriteHeader(header);
        ShowWorking(rs.recordCount());

        const FinalStandingsColumns c = FinalStandingsColumns::of(rs);
        const QStringList columns{QStringLiteral("Platz"),  QStringLiteral("Name"),   QStringLiteral("Vorname"),
                                  QStringLiteral("JG"),     QStringLiteral("Verein"), QStringLiteral("EW")};

        bool first = true;
        ClassRanking ranking;
        for (const std::vector<Value> &row : rs.rows()) {
            StepWorking();
            const QString ageClass = row[c.altersklasse].textOrEmpty();
            const std::int64_t total = row[c.endwertung].toInt64();
            const ClassRanking::Step step = ranking.next(ageClass, total);
            if (step.opensClass) {
                if (!first) page.HTML_EndTable();
                page.HTML_BeginTable(columns, QStringLiteral("-"), classHeading(ageClass));
                first = false;
            }
            page.HTML_WriteRow({QString::number(step.place), listField(row[c.vorname].textOrEmpty(), 30), listField(row[c.zuname].textOrEmpty(), 30),
                                listField(row[c.jahrgang].textOrEmpty(), 4), listField(row[c.verein].textOrEmpty(), 30),
                                points ? QString::number(total) : secondsToHms(total)});
        }
        finishHtmlPage(page, footer);
        HideWorking();
    } catch (...) {
        reportExportFailure(kPrinterHint, QStringLiteral("HTML_ExportEndwertung"));
    }
}

void ShowHtmlInViewer(const QString &path) {
    const QString show = GetSetting(kHtmlSection, QStringLiteral("Anzeigen"), QStringLiteral("False"));
    if (textrules::Trim(show).isEmpty() || !GetSettingBool(kHtmlSection, QStringLiteral("Anzeigen"), show)) return;
    const QString viewer = GetSetting(kHtmlSection, QStringLiteral("Anzeigeprog"));
    if (textrules::Trim(viewer).isEmpty()) {
        ui().message(QStringLiteral("Kein HTML-Anzeiger ausgewählt!"), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    // A viewer path with blanks is one program; otherwise the text is a command line
    // (such as "firefox -new-window"). The page is always one argument of its own.
    QStringList command;
    const QFileInfo program(textrules::Trim(viewer));
    if (program.isFile() && program.isExecutable()) command << program.filePath();
    else command = QProcess::splitCommand(viewer);
    if (command.isEmpty()) command << viewer;
    const QString executable = command.takeFirst();
    command << path;
    if (!programStarter().startDetached(executable, command))
        throw AppError(53, kRuntimeSource,
                       QStringLiteral("Der HTML-Anzeiger \"%1\" konnte nicht gestartet werden.").arg(executable));
}

void CommandHtmlEndwertung() {
    runHtmlCommand(QStringLiteral("Endwertung.html"), QStringLiteral("mnuEWHTMLReport"), &HTML_ExportEndwertung);
}

}  // namespace tarnis
