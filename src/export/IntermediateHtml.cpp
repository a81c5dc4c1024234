#include "export/IntermediateHtml.h"

#include "core/db/Globals.h"
#include "core/services/Progress.h"
#include "export/ExportFrame.h"
#include "export/ExportSettings.h"
#include "export/FinalStandingsHtml.h"
#include "export/HtmlWriter.h"
#include "platform/settings/Settings.h"
#include "platform/text/RaceTime.h"
#include "platform/ui/Ui.h"
#include "print/ClassRanking.h"
#include "print/IntermediateRows.h"

namespace tarnis {
namespace {

// A total on the page: 0 (Null included) shows "-".
QString totalCell(std::int64_t total, bool points) {
    if (total == 0) return QString();
    return points ? QString::number(total) : secondsToHms(total);
}

void rowCells(const IntermediateRow &row, bool points, QStringList &cells) {
    cells.clear();
    cells << standingsField(row.vorname, 30) << standingsField(row.zuname, 30)
          << standingsField(row.jahrgang, 4) << standingsField(row.verein, 30)
          << totalCell(row.endwertung, points) << totalCell(row.zwischenwertung, points);
    // A zero race shows "-"; "00:00:00" still counts as run.
    for (const RaceValue &race : row.races) cells << (race.mark == RaceMark::Zero ? QString() : race.text);
}

QStringList headerCells(int races, bool captionsFromGrid) {
    QStringList cells{QStringLiteral("Name"), QStringLiteral("Vorname"), QStringLiteral("JG"),
                      QStringLiteral("Verein"), QStringLiteral("EW"),     QStringLiteral("ZW")};
    for (int n = 1; n <= races; ++n) {
        const QString number = QString::number(n);
        cells << (captionsFromGrid ? GetSetting(QStringLiteral("Grid"), QStringLiteral("Caption") + number, number)
                                   : number);
    }
    return cells;
}

// The steps both pages share; `listed` decides per row whether it is written.
struct PageRun {
    QString title = QStringLiteral("Lorvane Tarnis - Zwischenwertung");
    bool captionsFromGrid = false;
    int minRaces = 0;
};

void writePage(const QString &path, const Recordset &rs, const PageRun &run) {
    const QStringList header = htmlBlockTexts("Header");
    const QStringList footer = htmlBlockTexts("Footer");
    const int races = readMaxLaufErf();
    const bool points = readPointsMode();
    HtmlWriter page;
    if (!page.HTML_OpenFile(path)) {
        ui().message(kHtmlNotCreated, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    page.HTML_WriteHead(run.title);
    page.HTML_WriteHeader(header);
    ShowWorking(rs.recordCount());
    const IntermediateRowReader reader(rs, races, points);
    const QStringList columns = headerCells(races, run.captionsFromGrid);

    ClassRanking classes;
    IntermediateRow row;
    QStringList cells;
    QString caption;
    bool tableDue = false, tableBegun = false;
    for (const std::vector<Value> &values : rs.rows()) {
        StepWorking();
        reader.read(values, row);
        if (classes.next(row.altersklasse, 0).opensClass) {
            caption = classHeading(row.altersklasse);
            tableDue = true;
        }
        if (run.minRaces > 0 && row.racesRun < run.minRaces) continue;
        if (tableDue) {
            if (tableBegun) page.HTML_EndTable();
            page.HTML_BeginTable(columns, QStringLiteral("-"), caption);
            tableBegun = true;
            tableDue = false;
        }
        rowCells(row, points, cells);
        page.HTML_WriteRow(cells);
    }
    // One table end also when no table was begun, as the page has always had.
    finishHtmlPage(page, footer);
    HideWorking();
}

}  // namespace

void HTML_ExportZwischenwertung(const QString &path) {
    try {
        PageRun run;
        run.captionsFromGrid = true;
        run.minRaces = readMinWTforPrinting();
        const Recordset rs = db().openRecordset(intermediateStandingsQuery());
        if (rs.recordCount() < 1) {
            ui().message(kIntermediateEmpty, MsgButtons::Ok, MsgIcon::Information);
            return;
        }
        writePage(path, rs, run);
    } catch (const AppError &e) {
        reportExportFailure(e.number == err::ItemNotFound ? kRaceCountHint : kAuthorHint,
                            QStringLiteral("HTML_ExportZwischenwertung"));
    } catch (...) {
        reportExportFailure(kAuthorHint, QStringLiteral("HTML_ExportZwischenwertung"));
    }
}

void HTML_ExportGruppe(const QString &path, const QString &ageClass) {
    try {
        // The class is bound, never pasted into the text: "Kids' Cup" is a class like any.
        const Recordset rs = db().openRecordset(oneClassQuery(), {ageClass});
        if (rs.recordCount() < 1) {
            ui().message(kIntermediateEmpty, MsgButtons::Ok, MsgIcon::Information);
            return;
        }
        writePage(path, rs, PageRun{});
    } catch (...) {
        reportExportFailure(kPrinterHint, QStringLiteral("HTML_ExportGruppe"));
    }
}

}  // namespace tarnis
