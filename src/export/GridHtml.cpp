#include "export/GridHtml.h"

#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "export/ExportFrame.h"
#include "export/ExportSettings.h"
#include "platform/settings/Settings.h"
#include "export/HtmlWriter.h"
#include "platform/text/RaceTime.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"
#include "print/IntermediateRows.h"

#include <optional>
#include <vector>

namespace tarnis {
namespace {

constexpr int kEndwertungColumn = 5;
constexpr int kZwischenwertungColumn = 6;

// A total cell as a whole number; nothing when Null, empty or no number.
std::optional<std::int64_t> totalOf(const QString &cell) {
    bool ok = false;
    const std::int64_t value = textrules::Trim(cell).toLongLong(&ok);
    return ok ? std::optional<std::int64_t>(value) : std::nullopt;
}

// A total shown: nothing (written "-") for 0 and for a value that is no number.
QString totalCell(const QString &cell, bool points) {
    const auto total = totalOf(cell);
    if (!total || *total == 0) return QString();
    return points ? QString::number(*total) : secondsToHms(*total);
}

enum class RowFilter { All, Final, Intermediate, None };

RowFilter readFilter() {
    if (GetSettingBoolOrDefault(kHtmlSection, QStringLiteral("Alle TN"), true)) return RowFilter::All;
    if (GetSettingBoolOrDefault(kHtmlSection, QStringLiteral("Endwertung TN"), false)) return RowFilter::Final;
    if (GetSettingBoolOrDefault(kHtmlSection, QStringLiteral("Zwischenwertung TN"), false)) return RowFilter::Intermediate;
    return RowFilter::None;
}

bool passes(RowFilter filter, MainWindowApi &grid, int row) {
    switch (filter) {
    case RowFilter::All: return true;
    case RowFilter::Final: return totalOf(grid.gridCell(row, kEndwertungColumn)).value_or(0) > 0;
    case RowFilter::Intermediate: return totalOf(grid.gridCell(row, kZwischenwertungColumn)).value_or(0) > 0;
    case RowFilter::None: return false;
    }
    return false;
}

}  // namespace

void HTML_ExportGrid(const QString &path, MainWindowApi &grid) {
    try {
        const QStringList header = htmlBlockTexts("Header");
        const QStringList footer = htmlBlockTexts("Footer");
        const RowFilter filter = readFilter();
        const bool points = readPointsMode();
        const int rows = grid.gridRowCount();
        if (rows < 1) {
            ui().message(kGridHtmlEmpty, MsgButtons::Ok, MsgIcon::Information);
            return;
        }

        HtmlWriter page;
        if (!page.HTML_OpenFile(path)) return;
        page.HTML_WriteHead(QStringLiteral("Lorvane Tarnis - Ergebnisliste"));
        ShowWorking(rows);
        page.HTML_WriteHeader(header);
        grid.setGridCurrentRow(0);

        std::vector<int> columns;
        QStringList captions;
        for (int c = 0; c < grid.gridColumnCount(); ++c) {
            const QString caption = grid.gridColumnCaption(c);
            if (caption == QStringLiteral("***") || textrules::Trim(caption).isEmpty() || !grid.gridColumnVisible(c)) continue;
            columns.push_back(c);
            captions << textrules::Trim(caption);
        }
        StepWorking();  // the header pass counts as a step
        page.HTML_BeginTable(captions, QStringLiteral("-"), QStringLiteral("Ergebnisse"));

        QStringList cells;
        for (int row = 0; row < rows; ++row) {
            StepWorking();
            if (!passes(filter, grid, row)) continue;
            cells.clear();
            for (int c : columns) {
                const QString cell = grid.gridCell(row, c);
                const bool total = c == kEndwertungColumn || c == kZwischenwertungColumn;
                cells << (total ? totalCell(cell, points) : textrules::Trim(cell));
            }
            page.HTML_WriteRow(cells);
        }
        finishHtmlPage(page, footer);
        HideWorking();
    } catch (...) {
        reportExportFailure(kPrinterHint, QStringLiteral("HTML_ExportGrid"));
    }
}

}  // namespace tarnis
