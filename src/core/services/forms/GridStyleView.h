#pragma once
// The grid style of section Grid applied to any grid view: the participant grid and
// the grids of the preferences look alike.
#include "core/services/GridStyle.h"

class QTableView;

namespace tarnis {

// Reads the eleven keys of section Grid in their order and applies them: heading
// font and its 3-D border, cell font, background, and the colours of even and odd
// rows (the first row is even). Raises 13 for a size, style or colour that is no
// number; the view is then left as it was.
void SetGridStyle(QTableView &grid);
// The same, but a key that does not convert takes its default and is added to `bad`:
// the rest of the style applies.
void SetGridStyle(QTableView &grid, BadSettings &bad);

// Applies a style already read (the preferences preview shows the style being edited).
void ApplyGridStyle(QTableView &grid, const GridStyle &style);

}  // namespace tarnis
