// Where the highlight frame stands: four bands just outside a window's
// rectangle, drawn above everything to show the user where that window is.
#pragma once

#include <array>
#include <optional>

#include "platform/toolkit/graphics.h"

namespace vexlan {

// The frame's width at 96 DPI.
inline constexpr int kHighlightWidthAt96 = 3;

// The frame's width in pixels at `dpi` (positive): kHighlightWidthAt96
// scaled, rounded to the nearest pixel, never below 1.
int HighlightWidth(int dpi);

// The frame's top, bottom, left and right bands, in that order, each
// HighlightWidth(dpi) thick, around `window` and just outside it. The frame
// stays on `screen` (the virtual screen): where the window reaches or passes
// an edge of the screen the band along it lies just inside that edge, over
// the window. The bands never overlap; one may have no area when the frame
// is squeezed against the screen's edge. Nothing when the window has no
// area or no part of it is on the screen.
std::optional<std::array<TRect, 4>> HighlightBands(const TRect& window, const TRect& screen, int dpi);

}  // namespace vexlan
