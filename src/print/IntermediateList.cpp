#include "print/IntermediateList.h"

#include "core/db/Globals.h"
#include "core/services/Progress.h"
#include "platform/settings/Settings.h"
#include "platform/text/OutputText.h"
#include "platform/text/RaceTime.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"
#include "print/ClassRanking.h"
#include "print/IntermediateRows.h"
#include "print/ListFrame.h"

namespace tarnis {
namespace {

// The time columns are wider, at the cost of the name columns.
const QString kTimeFormat =
    QStringLiteral("<1800|<1400|^600|<2550|^810|^810|^810|^810|^810|^810|^810|^810|^810|^810;");

QString totalText(std::int64_t total, bool points) {
    if (total == 0) return QString();
    return points ? QString::number(total) : secondsToHms(total);
}

void buildCells(const IntermediateRow &row, bool points, print::Cells &cells) {
    cells.clear();
    cells.push_back(standingsField(row.vorname, 30));
    cells.push_back(standingsField(row.zuname, 30));
    cells.push_back(standingsField(row.jahrgang, 4));
    cells.push_back(standingsField(row.verein, 30));
    cells.push_back(totalText(row.endwertung, points));
    cells.push_back(totalText(row.zwischenwertung, points));
    if (points) {
        for (QString &cell : printedRaceCells(row.races, points)) cells.push_back(std::move(cell));
        return;
    }
    // A stored time text may hold anything; only the list's own CR may break a cell.
    std::vector<RaceValue> races = row.races;
    for (RaceValue &race : races) race.text = blankControls(race.text);
    for (QString &cell : printedRaceCells(races, points)) cells.push_back(std::move(cell));
}

// ageClass null: every class of the class order, filtered by races run.
void printIntermediate(MainWindowApi &window, print::PrintControl &control, const QString *ageClass) {
    const bool all = ageClass == nullptr;
    const QString procedure = all ? QStringLiteral("PL_PrintZwischenwertung") : QStringLiteral("PL_PrintGruppe");
    print::IDocumentBuilder &builder = control.builder();
    try {
        const int races = readMaxLaufErf();
        const int minRun = all ? readMinWTforPrinting() : 0;
        const bool points = readPointsMode();
        const QString ownFormat = GetSetting(QStringLiteral("Listendruck"), QStringLiteral("ZW-Format"), QString());

        const Recordset rs = all ? db().openRecordset(intermediateStandingsQuery())
                                 : db().openRecordset(oneClassQuery(), {*ageClass});
        if (rs.recordCount() < 1) {
            ui().message(kIntermediateEmpty, MsgButtons::Ok, MsgIcon::Information);
            return;
        }
        ShowWorking(rs.recordCount());

        ListSettings settings = ListSettings::read(QStringLiteral("Klein"));
        // The time columns are wider: the built-in time format needs the small size.
        const bool builtIn = textrules::Trim(ownFormat).isEmpty();
        if (builtIn && !points) settings.rowFont.sizePt = 8;
        const print::TableFormat format =
            print::TableFormat::parse(builtIn ? (points ? kRaceListFormat : kTimeFormat) : ownFormat);
        const print::TableFormat bar = print::TableFormat::parse(u"^14450");
        const IntermediateRowReader reader(rs, races, points);

        ListFrame frame(builder, settings);
        frame.start(print::Orientation::Landscape,
                    all ? QStringLiteral("Zwischenwertung") : QStringLiteral("Altersklasse"));

        ClassRanking classes;
        bool headingDue = false;
        QString barText;
        IntermediateRow row;
        print::Cells cells;
        for (const std::vector<Value> &values : rs.rows()) {
            StepWorking();
            reader.read(values, row);
            if (classes.next(row.altersklasse, 0).opensClass) {
                frame.pageBreakTest();
                barText = classHeading(row.altersklasse);
                if (!all) barText += u' ';
                headingDue = true;
            }
            // The filter: a class none of whose rows passes prints no heading.
            if (all && minRun > 0 && row.racesRun < minRun) {
                frame.measureOnce();
                continue;
            }
            if (headingDue) {
                frame.headingBars(bar, all, barText, format, raceListColumnNames());
                headingDue = false;
            }
            buildCells(row, points, cells);
            builder.setFont(frame.settings().rowFont);
            frame.addRow(format, cells);
        }
        frame.finish(control, window);
        HideWorking();
    } catch (...) {
        abandonList(builder, procedure, [all](const AppError &error) {
            if (!all) return kPrintProblem;
            return error.number == err::ItemNotFound ? kRaceCountHint : kIntermediateHint;
        });
    }
}

}  // namespace

void PL_PrintZwischenwertung(MainWindowApi &window) {
    if (print::PrintControl *control =
            listControl(kIntermediateHint, QStringLiteral("PL_PrintZwischenwertung")))
        printIntermediate(window, *control, nullptr);
}

void PL_PrintZwischenwertung(MainWindowApi &window, print::PrintControl &control) {
    printIntermediate(window, control, nullptr);
}

void PL_PrintGruppe(MainWindowApi &window, const QString &ageClass) {
    if (print::PrintControl *control =
            listControl(kPrintProblem, QStringLiteral("PL_PrintGruppe")))
        printIntermediate(window, *control, &ageClass);
}

void PL_PrintGruppe(MainWindowApi &window, print::PrintControl &control, const QString &ageClass) {
    printIntermediate(window, control, &ageClass);
}

}  // namespace tarnis
