#include "platform/toolkit/memory_canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/canvas_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;
using Rows = std::vector<std::string>;

TEST(TMemoryCanvasLines, ClearPensMoveWithoutPaintingSlantedAndWidePensAreRefused) {
  TMemoryCanvas canvas = FakeCanvas(4, 4);
  canvas.Pen.Style = psClear;
  canvas.LineTo(3, 0);
  EXPECT_EQ(canvas.PenPos(), (TPoint{3, 0}));
  canvas.Pen.Style = psSolid;
  EXPECT_THROW(canvas.LineTo(0, 3), std::invalid_argument);
  EXPECT_EQ(canvas.PenPos(), (TPoint{3, 0}));
  canvas.Pen.Width = 2;
  EXPECT_THROW(canvas.LineTo(3, 3), std::invalid_argument);
  EXPECT_EQ(Picture(canvas), (Rows{"....", "....", "....", "...."}));
}

// The dots count from where each line starts, wherever the clip cuts it.
TEST(TMemoryCanvasLines, DottedPenPaintsEverySecondPixelFromTheStart) {
  TMemoryCanvas canvas = FakeCanvas(5, 3);
  canvas.Pen = {clBtnShadow, psDot, 1};
  canvas.MoveTo(0, 0);
  canvas.LineTo(5, 0);
  canvas.MoveTo(-3, 1);
  canvas.LineTo(5, 1);
  canvas.MoveTo(4, 2);
  canvas.LineTo(0, 2);
  EXPECT_EQ(Picture(canvas), (Rows{"S.S.S", ".S.S.", "..S.S"}));
}

TEST(TMemoryCanvasFill, CoversLeftAndTopNotRightAndBottomInsideTheClip) {
  TMemoryCanvas canvas = FakeCanvas(6, 4);
  canvas.Brush.Color = clBtnFace;
  canvas.FillRect({1, 1, 3, 3});
  canvas.FillRect({5, 0, 4, 2});  // crossed: nothing
  canvas.Brush.Style = bsClear;
  canvas.FillRect({0, 0, 6, 4});
  canvas.Brush = TBrush{kBackColor, bsSolid};
  canvas.SetClipRect({4, 2, 99, 99});
  EXPECT_EQ(canvas.ClipRect(), (TRect{4, 2, 6, 4}));
  canvas.FillRect({INT32_MIN, INT32_MIN, INT32_MAX, 3});
  canvas.Pen.Color = clBtnShadow;
  canvas.MoveTo(0, 3);
  canvas.LineTo(6, 3);
  EXPECT_EQ(Picture(canvas), (Rows{"......",
                                   ".FF...",
                                   ".FF.bb",
                                   "....SS"}));
}

TEST(TMemoryCanvasCopies, BitBltCopiesWhatTheSourceHasStretchPicksWholePixels) {
  TBitmap bitmap;
  FillWithPositions(bitmap, 4, 2);
  TMemoryCanvas canvas = FakeCanvas(10, 6);
  canvas.BitBlt(7, 4, 10, 10, bitmap, 1, 0);  // 3 by 2 available, cut by the canvas
  EXPECT_EQ(canvas.Pixel(7, 4), PositionPixel(1, 0));
  EXPECT_EQ(canvas.Pixel(9, 5), PositionPixel(3, 1));
  EXPECT_EQ(canvas.Pixel(6, 4), kUntouched);

  canvas.StretchBlt(0, 0, 8, 4, bitmap, 0, 0, 4, 2);  // twice the size
  canvas.StretchBlt(8, 0, 2, 1, bitmap, 0, 0, 4, 2);  // half the size
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(canvas.Pixel(x, y), PositionPixel(x / 2, y / 2)) << x << "," << y;
  }
  EXPECT_EQ(canvas.Pixel(8, 0), PositionPixel(0, 0));
  EXPECT_EQ(canvas.Pixel(9, 0), PositionPixel(2, 0));
  EXPECT_EQ(canvas.Pixel(8, 1), kUntouched);

  const std::vector<TPixel> before(canvas.Pixels().begin(), canvas.Pixels().end());
  canvas.StretchBlt(0, 0, 8, 4, bitmap, 1, 0, 4, 2);  // source beyond the picture
  canvas.StretchBlt(0, 0, -8, 4, bitmap, 0, 0, 4, 2);
  canvas.BitBlt(0, 0, 4, 2, TBitmap{}, 0, 0);
  EXPECT_EQ(std::vector<TPixel>(canvas.Pixels().begin(), canvas.Pixels().end()), before);
}

}  // namespace
}  // namespace vexlan
