#pragma once
// The window placement restored at the first activation and stored at shutdown,
// and the grid widths stored with it. All sizes in twips.
#include "mainwin/GridSetup.h"

#include <cstdint>
#include <vector>

namespace tarnis {

struct Placement {
    double height = 10000, width = 15000, left = 100, top = 100;
};
// LastHeight, LastWidth, LastLeftPos, LastTopPos; a value that is no number raises 13.
Placement ReadPlacement();

struct ScreenMetrics {
    int widthPx = 0, heightPx = 0;
    double twipsPerPixelX = 15, twipsPerPixelY = 15;
};

// Top and left as they are stored: rounded to whole twips, and a coordinate whose
// absolute value exceeds 100000 replaced by the one that centres the inner area
// on the primary screen.
struct StoredPosition {
    std::int64_t top = 0, left = 0;
};
StoredPosition ShutdownPosition(double top, double left, const ScreenMetrics &screen,
                                double innerWidth, double innerHeight);

// Form_QueryUnload: Grid/ColWith<n> for every column, hidden ones included.
void SaveColumnWidths(const std::vector<GridColumn> &columns);

// EndProgram's settings, in their order: LastTopPos, LastLeftPos, LastHeight,
// LastWidth, SizeOfGridCol0, 1, 3, 4 (widths of columns that do not exist are skipped).
void SavePlacement(const StoredPosition &position, double outerHeight, double outerWidth,
                   const std::vector<GridColumn> &columns);

}  // namespace tarnis
