#include "print/GridList.h"

#include "core/db/Globals.h"
#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "platform/text/OutputText.h"
#include "platform/text/TextRules.h"
#include "print/IntermediateRows.h"
#include "print/ListFrame.h"

namespace tarnis {
namespace {

// The fixed format has eight race columns; further races are not printed.
constexpr int kRaceColumns = 8;

// The grid shows every field of Teilnehmer in the table's order; a field the grid
// does not have raises the engine's 3265.
class GridFields {
public:
    explicit GridFields(const MainWindowApi &window)
        : shape_(db().tableColumns(QStringLiteral("Teilnehmer")).mid(0, window.gridColumnCount()), {}) {}

    int column(const QString &name) const {
        const int index = shape_.fieldIndex(name);
        if (index < 0) shape_.field(name);
        return index;
    }

private:
    Recordset shape_;
};

// Reports its own errors.
void printGrid(MainWindowApi &window, print::PrintControl &control) {
    print::IDocumentBuilder &builder = control.builder();
    try {
        const int races = readMaxLaufErf();
        const ListSettings settings = ListSettings::read(QStringLiteral("Klein"));

        const GridFields fields(window);
        std::vector<int> columns;
        for (const char *name : {"Vorname", "Zuname", "Jahrgang", "Verein", "Endwertung", "Zwischenwertung"})
            columns.push_back(fields.column(QString::fromLatin1(name)));
        std::vector<int> raceColumns;
        for (int r = 1; r <= races; ++r)
            raceColumns.push_back(fields.column(QStringLiteral("Lauf_%1_Punkte").arg(r)));
        raceColumns.resize(std::min<std::size_t>(raceColumns.size(), kRaceColumns));

        const print::TableFormat format = print::TableFormat::parse(kRaceListFormat);
        const print::Cells &names = raceListColumnNames();

        ListFrame frame(builder, settings);
        frame.start(print::Orientation::Landscape, QStringLiteral("Aktuelle Auflistung"));
        builder.setFont(settings.rowFont);
        const int rows = window.gridRowCount();
        ShowWorking(rows);
        builder.addTable(format, {}, {names}, 0, settings.colorListenkopf, print::HeadingMode::OnlyAfterBreak);

        print::Cells cells;
        for (int row = 0; row < rows; ++row) {
            StepWorking();
            cells.clear();
            // As stored: neither trimmed nor formatted, totals in time mode as seconds.
            for (int c : columns) cells.push_back(blankControls(window.gridCell(row, c)));
            for (int c : raceColumns) {
                const QString points = textrules::Trim(window.gridCell(row, c));
                cells.push_back(points == u"0" ? QStringLiteral(" ") : blankControls(points));
            }
            // The names head every page the list continues on.
            builder.addTable(format, names, {cells}, settings.colorListenkopf, 0, print::HeadingMode::OnlyAfterBreak);
        }
        frame.finish(control, window);
        HideWorking();
    } catch (...) {
        abandonList(builder, QStringLiteral("PL_PrintGrid"), kPrintProblem);
    }
}

}  // namespace

void PL_PrintGrid(MainWindowApi &window) {
    if (print::PrintControl *control = listControl(kPrintProblem, QStringLiteral("PL_PrintGrid")))
        PL_PrintGrid(window, *control);
}

void PL_PrintGrid(MainWindowApi &window, print::PrintControl &control) {
    printGrid(window, control);
    // Not read again: that would drop the selection the next command may work on.
    window.setGridCurrentRow(0);
    window.redrawGrid();
}

}  // namespace tarnis
