#include "winutil/highlight_frame_bands.h"

#include <gtest/gtest.h>

namespace vexlan {
namespace {

// The bands lie between the frame's outer and inner edges: top and bottom
// the whole width, left and right between them.
std::array<TRect, 4> Between(const TRect& o, const TRect& i) {
  return {TRect{o.Left, o.Top, o.Right, i.Top}, TRect{o.Left, i.Bottom, o.Right, o.Bottom},
          TRect{o.Left, i.Top, i.Left, i.Bottom}, TRect{i.Right, i.Top, o.Right, i.Bottom}};
}

TEST(HighlightBands, JustOutsideTheWindowInsideTheScreenScaledWithTheDpi) {
  const TRect screen{-1280, 0, 1024, 768};  // reaching left of the primary monitor
  const struct Case {
    const char* what;
    TRect window;
    int dpi;
    TRect outer, inner;
  } cases[] = {
      {"in the middle", {100, 100, 300, 200}, 96, {97, 97, 303, 203}, {100, 100, 300, 200}},
      {"at 144 DPI in a corner", {-1280, 0, -1080, 100}, 144, {-1280, 0, -1075, 105}, {-1275, 5, -1080, 100}},
      {"past edges", {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 96, {-1280, 0, 1024, 768}, {-1277, 3, 1021, 765}},
      {"one row high at the top: squeezed, no overlap", {10, 0, 20, 1}, 96, {7, 0, 23, 4}, {10, 3, 20, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(HighlightBands(c.window, screen, c.dpi), Between(c.outer, c.inner));
  }
  // Off the screen (minimized), touching it from outside, without width.
  for (const TRect window : {TRect{-32000, -32000, -31840, -31972}, TRect{1024, 9, 1100, 99}, TRect{1, 1, 1, 9}}) {
    EXPECT_EQ(HighlightBands(window, screen, 96), std::nullopt);
  }
}

}  // namespace
}  // namespace vexlan
