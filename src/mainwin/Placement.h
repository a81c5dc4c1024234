#pragma once
// The window placement restored at the first activation and stored at shutdown,
// and the grid widths stored with it. All sizes in twips.
#include "mainwin/GridSetup.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tarnis {

struct Placement {
    double height = 10000, width = 15000, left = 100, top = 100;
};
// LastHeight, LastWidth, LastLeftPos, LastTopPos. A value that does not convert (no
// number, or beyond whole twips) takes its default and is added to `bad`.
Placement ReadPlacement(BadSettings &bad);

// The window manager's frame around the client area, in pixels; all 0 where there is
// no frame or while the window manager has not reported it yet.
struct FrameMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool isNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool operator==(const FrameMargins &) const = default;
};

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect &) const = default;
};

// What a stored placement must fit, in pixels: the window's own minimum (its frame
// around the smallest client area it takes) and the screens.
struct PlacementLimits {
    int minWidth = 0, minHeight = 0;
    int titleHeight = 0;  // 0 while the window manager has not told its frame
    std::vector<PixelRect> screens;
};
// A height or width below the window's minimum, and a position that would leave no
// part of the title bar on any screen, take their defaults and are added to `bad`
// naming their keys and stored values; the window would otherwise open too small to
// use, or where it cannot be reached.
Placement FitPlacement(const Placement &stored, const PlacementLimits &limits, double twipsPerPixel,
                       BadSettings &bad);

// The stored placement describes the frame. The window is placed by its client
// area, and the frame is often reported only after the window is shown: the
// restorer gives the client area for the margins known at the restore and, once
// the real margins arrive, the corrected one, so that the frame lands on the
// stored rectangle and a restart without a move stores the same four values.
class PlacementRestorer {
public:
    PixelRect restore(const Placement &stored, const FrameMargins &known, double twipsPerPixel);
    // The client area again when the margins differ from those the restore used;
    // followed until the first margins that are not all 0.
    std::optional<PixelRect> marginsKnown(const FrameMargins &now);
    bool following() const { return following_; }
    // The placement to store for the frame rectangle at shutdown: the values read
    // at the restore while the frame is still where they put it (so rounding to
    // pixels never moves it), else the frame converted to twips.
    Placement placementToStore(const PixelRect &frame, double twipsPerPixel) const;

private:
    PixelRect clientFor(const FrameMargins &m) const;
    Placement stored_;
    PixelRect frame_;  // the stored placement in pixels
    FrameMargins used_;
    bool restored_ = false, following_ = false;
};

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

// Form_QueryUnload: Grid/ColWith<n> for every column, hidden ones included; a column
// the setup has not handled keeps its stored width.
void SaveColumnWidths(const std::vector<GridColumn> &columns);

// EndProgram's settings, in their order: LastTopPos, LastLeftPos, LastHeight,
// LastWidth, SizeOfGridCol0, 1, 3, 4 (widths of columns that do not exist or that the
// setup has not handled are skipped).
void SavePlacement(const StoredPosition &position, double outerHeight, double outerWidth,
                   const std::vector<GridColumn> &columns);

}  // namespace tarnis
