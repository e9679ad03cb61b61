#include "winutil/highlight_frame_bands.h"

#include <gtest/gtest.h>

namespace vexlan {
namespace {

TEST(HighlightWidth, ThreePixelsAt96ScaledAndNeverNone) {
  const struct {
    int dpi, width;
  } cases[] = {{96, 3}, {120, 4}, {144, 5}, {192, 6}, {72, 2}, {24, 1}, {1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(HighlightWidth(c.dpi), c.width);
  }
}

// Bands are top, bottom, left, right.
TEST(HighlightBands, JustOutsideTheWindowAndInsideTheScreen) {
  using Bands = std::array<TRect, 4>;
  const TRect screen{0, 0, 1024, 768};
  const struct Case {
    const char* what;
    TRect window, screen;
    int dpi;
    std::optional<Bands> bands;
  } cases[] = {
      {"in the middle", {100, 100, 300, 200}, screen, 96,
       Bands{{{97, 97, 303, 100}, {97, 200, 303, 203}, {97, 100, 100, 200}, {300, 100, 303, 200}}}},
      {"at 144 DPI", {100, 100, 300, 200}, screen, 144,
       Bands{{{95, 95, 305, 100}, {95, 200, 305, 205}, {95, 100, 100, 200}, {300, 100, 305, 200}}}},
      {"in the screen's top left corner", {0, 0, 200, 100}, screen, 96,
       Bands{{{0, 0, 203, 3}, {0, 100, 203, 103}, {0, 3, 3, 100}, {200, 3, 203, 100}}}},
      {"maximized, past every edge", {-8, -8, 1032, 776}, screen, 96,
       Bands{{{0, 0, 1024, 3}, {0, 765, 1024, 768}, {0, 3, 3, 765}, {1021, 3, 1024, 765}}}},
      {"across monitors left of the primary", {-100, 50, 100, 150}, {-1280, 0, 1024, 768}, 96,
       Bands{{{-103, 47, 103, 50}, {-103, 150, 103, 153}, {-103, 50, -100, 150}, {100, 50, 103, 150}}}},
      {"one row high against the top: squeezed, no overlap", {10, 0, 20, 1}, screen, 96,
       Bands{{{7, 0, 23, 3}, {7, 3, 23, 4}, {7, 3, 10, 3}, {20, 3, 23, 3}}}},
      {"far off the screen (minimized)", {-32000, -32000, -31840, -31972}, screen, 96, std::nullopt},
      {"touching the screen's edge from outside", {1024, 100, 1100, 200}, screen, 96, std::nullopt},
      {"without width", {100, 100, 100, 200}, screen, 96, std::nullopt},
      {"at the end of the 32-bit range", {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, screen, 96,
       Bands{{{0, 0, 1024, 3}, {0, 765, 1024, 768}, {0, 3, 3, 765}, {1021, 3, 1024, 765}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(HighlightBands(c.window, c.screen, c.dpi), c.bands);
  }
}

}  // namespace
}  // namespace vexlan
