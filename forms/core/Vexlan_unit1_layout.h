// The main form's layout: its place, font and controls, as the form reads
// them when it is created.
#pragma once

#include <span>

#include "forms/core/layout_kinds.h"

namespace vexlan {

const FormLayout& Form1Layout();

struct TClientSize {
  int Width = 0;
  int Height = 0;
};

// The smallest client area the main form can be made, in pixels at its DPI:
// every control of the bottom bar (placed in the bar, `bar_height` high)
// whole, and a few rows of the tree above it, each `tree_row_height` high
// (or as high as a small font's row when the tree does not say).
TClientSize MinimumClientSize(std::span<const TBounds> bar_controls, int bar_height, int tree_row_height);

}  // namespace vexlan
