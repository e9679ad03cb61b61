#include "components/panel_wallpaper.h"

#include <gtest/gtest.h>

#include <string>

#include "components/panel_frames.h"
#include "tests/support/canvas_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

// Where the bitmap should show: inside `dest`, source pixel `origin` plus
// the offset from dest's corner (wrapped round the bitmap when tiled);
// elsewhere in the painted rectangle, the back colour.
struct Placement {
  TRect dest;
  TPoint origin;
  bool tiled = false;
};

void CheckPainting(const TMemoryCanvas& canvas, const TRect& painted, const TBitmap& bitmap, const Placement& p) {
  int wrong = 0;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      TPixel expected = kUntouched;
      if (x >= painted.Left && x < painted.Right && y >= painted.Top && y < painted.Bottom) {
        expected = canvas.Resolve(kBackColor);
        if (x >= p.dest.Left && x < p.dest.Right && y >= p.dest.Top && y < p.dest.Bottom) {
          int sx = p.origin.X + x - p.dest.Left, sy = p.origin.Y + y - p.dest.Top;
          if (p.tiled) sx %= bitmap.Width(), sy %= bitmap.Height();
          expected = bitmap.Pixel(sx, sy);
        }
      }
      if (canvas.Pixel(x, y) != expected && ++wrong <= 3) ADD_FAILURE() << "pixel " << x << "," << y;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(TPanelWallpaper, EachStylePlacesTheBitmapAndFillsTheRestWithTheBackColour) {
  const struct Case {
    const char* what;
    TPanelWallpaperStyle style;
    int width, height;  // of the bitmap
    TRect rect;
    Placement placement;
  } cases[] = {
      {"plain", wpNone, 40, 20, {0, 0, 100, 30}, {{0, 0, 40, 20}, {0, 0}}},
      {"plain, cut off", wpNone, 40, 20, {3, 2, 30, 12}, {{3, 2, 30, 12}, {0, 0}}},
      {"centred, odd widths: the extra pixel right", wpCenter, 50, 20, {0, 0, 101, 30}, {{25, 5, 75, 25}, {0, 0}}},
      {"centred, odd heights: the extra pixel below", wpCenter, 20, 9, {4, 1, 30, 21}, {{7, 6, 27, 15}, {0, 0}}},
      {"centred, larger bitmap: its middle", wpCenter, 51, 40, {0, 0, 50, 30}, {{0, 0, 50, 30}, {0, 5}}},
      {"centred, wider but lower", wpCenter, 60, 10, {2, 2, 50, 30}, {{2, 11, 50, 21}, {6, 0}}},
      {"tiled, last column and row cut", wpTile, 40, 20, {0, 0, 100, 30}, {{0, 0, 100, 30}, {0, 0}, true}},
      {"tiled from the corner", wpTile, 7, 5, {3, 4, 30, 20}, {{3, 4, 30, 20}, {0, 0}, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TPanelWallpaper wallpaper;
    FillWithPositions(wallpaper.Bitmap(), c.width, c.height);
    wallpaper.SetStyle(c.style);
    TMemoryCanvas canvas = FakeCanvas(105, 35);
    wallpaper.Draw(canvas, c.rect, kBackColor);
    CheckPainting(canvas, c.rect, wallpaper.Bitmap(), c.placement);
  }
}

// Tiles are laid in blocks of many, and only where the canvas can show
// them: the pixels stay those of tile after tile from the corner, whatever
// the rectangle's extent, and follow the picture when it changes.
TEST(TPanelWallpaper, TilingInBlocksLaysTheSameTilesAndFollowsThePicture) {
  TPanelWallpaper wallpaper;
  FillWithPositions(wallpaper.Bitmap(), 7, 5);
  TMemoryCanvas canvas = FakeCanvas(620, 300);
  const TRect rect{3, 4, 610, 290};
  wallpaper.Draw(canvas, rect, kBackColor);
  CheckPainting(canvas, rect, wallpaper.Bitmap(), {rect, {0, 0}, true});

  wallpaper.Bitmap().SetPixel(6, 4, PositionPixel(99, 99));
  wallpaper.Draw(canvas, rect, kBackColor);
  CheckPainting(canvas, rect, wallpaper.Bitmap(), {rect, {0, 0}, true});

  TMemoryCanvas small = FakeCanvas(9, 7);
  small.SetClipRect({2, 1, 8, 6});
  const TRect far{-700004, -500001, INT32_MAX, INT32_MAX};
  wallpaper.Draw(small, far, kBackColor);
  CheckPainting(small, {2, 1, 8, 6}, wallpaper.Bitmap(), {far, {0, 0}, true});
}

TEST(TPanelWallpaper, StretchCoversTheWholeRectangleWithTheBitmap) {
  for (const TRect& rect : {TRect{2, 3, 90, 30}, TRect{1, 1, 13, 7}}) {
    SCOPED_TRACE(rect.Right);
    TPanelWallpaper wallpaper;
    FillWithPositions(wallpaper.Bitmap(), 40, 20);
    wallpaper.SetStyle(wpStretch);
    TMemoryCanvas canvas = FakeCanvas(92, 32);
    wallpaper.Draw(canvas, rect, kBackColor);
    for (int y = 0; y < canvas.Height(); ++y) {
      for (int x = 0; x < canvas.Width(); ++x) {
        const bool inside = x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
        const TPixel p = canvas.Pixel(x, y);
        ASSERT_EQ(inside, (p & 0xFF0000) == 0xC00000) << x << "," << y;
      }
    }
    EXPECT_EQ(canvas.Pixel(rect.Left, rect.Top), PositionPixel(0, 0));
    EXPECT_TRUE(ShowsBitmapCorner(canvas.Pixel(rect.Right - 1, rect.Bottom - 1), rect, 40, 20));
  }
}

TEST(TPanelWallpaper, NoPixelsToShowPaintsTheBackColourEverywhere) {
  const struct {
    const char* what;
    int width, height;
  } bitmaps[] = {{"empty", -1, -1}, {"no width", 0, 20}, {"no height", 20, 0}};
  for (const auto& b : bitmaps) {
    for (TPanelWallpaperStyle style : {wpNone, wpCenter, wpStretch, wpTile}) {
      SCOPED_TRACE(std::string(b.what) + " " + std::string(ToString(style)));
      TPanelWallpaper wallpaper;
      if (b.width >= 0) wallpaper.Bitmap().SetSize(b.width, b.height);
      wallpaper.SetStyle(style);
      TMemoryCanvas canvas = FakeCanvas(12, 10);
      wallpaper.Draw(canvas, {1, 2, 11, 9}, kBackColor);
      CheckPainting(canvas, {1, 2, 11, 9}, wallpaper.Bitmap(), {});
    }
  }
}

TEST(TPanelWallpaper, ARectangleWithoutAreaGetsNoDrawingCall) {
  const TRect rects[] = {{5, 5, 5, 20}, {5, 5, 20, 5}, {9, 9, 2, 2}, {INT32_MAX, 0, INT32_MIN, 10}};
  for (const TRect& rect : rects) {
    for (TPanelWallpaperStyle style : {wpNone, wpCenter, wpStretch, wpTile}) {
      SCOPED_TRACE(std::string(ToString(style)) + " right " + std::to_string(rect.Right));
      TPanelWallpaper wallpaper;
      FillWithPositions(wallpaper.Bitmap(), 3, 2);
      wallpaper.SetStyle(style);
      TMemoryCanvas target = FakeCanvas(4, 4);
      TRecordingCanvas canvas(target);
      wallpaper.Draw(canvas, rect, kBackColor);
      EXPECT_EQ(canvas.Calls, std::vector<std::string>{});
    }
  }
}

TEST(TPanelWallpaper, WholeRangeRectanglesPlaceTheBitmapWithoutOverflow) {
  TPanelWallpaper wallpaper;
  FillWithPositions(wallpaper.Bitmap(), 3, 3);
  wallpaper.SetStyle(wpCenter);
  TMemoryCanvas canvas = FakeCanvas(3, 3);
  const TRect all{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  wallpaper.Draw(canvas, all, kBackColor);  // the bitmap lands on -2..0
  CheckPainting(canvas, {0, 0, 3, 3}, wallpaper.Bitmap(), {{-2, -2, 1, 1}, {0, 0}});
  wallpaper.SetStyle(wpNone);
  wallpaper.Draw(canvas, {-1, -1, INT32_MAX, INT32_MAX}, kBackColor);
  CheckPainting(canvas, {0, 0, 3, 3}, wallpaper.Bitmap(), {{-1, -1, 2, 2}, {0, 0}});
}

TEST(TPanelWallpaper, NotifiesOnEveryBitmapWriteAndAssignCopiesNeverAdopts) {
  TPanelWallpaper wallpaper;
  EXPECT_EQ(wallpaper.Style(), wpTile);
  EXPECT_TRUE(wallpaper.Bitmap().Empty());
  EXPECT_EQ(Notifications(wallpaper, [&] { wallpaper.SetStyle(wpTile); }), 0);
  EXPECT_EQ(Notifications(wallpaper, [&] { wallpaper.SetStyle(wpCenter), wallpaper.SetStyle(wpCenter); }), 1);
  TBitmap picture;
  FillWithPositions(picture, 2, 2);
  EXPECT_EQ(Notifications(wallpaper, [&] { wallpaper.SetBitmap(picture), wallpaper.SetBitmap(picture); }), 2);
  picture.SetPixel(0, 0, 0);
  EXPECT_EQ(wallpaper.Bitmap().Pixel(0, 0), PositionPixel(0, 0)) << "copied, not adopted";
  EXPECT_EQ(Notifications(wallpaper, [&] { wallpaper.Bitmap().SetSize(1, 1); }), 0);

  TPanelWallpaper source;
  FillWithPositions(source.Bitmap(), 4, 3);
  source.SetStyle(wpStretch);
  const TBitmap* own = &wallpaper.Bitmap();
  EXPECT_EQ(Notifications(wallpaper, [&] { wallpaper.Assign(source); }), 1);
  EXPECT_EQ(&wallpaper.Bitmap(), own);
  EXPECT_EQ(wallpaper.Style(), wpStretch);
  source.Bitmap().Clear();
  EXPECT_EQ(wallpaper.Bitmap().Width(), 4);
  EXPECT_EQ(Notifications(wallpaper, [&] {
              EXPECT_THROW(wallpaper.Assign(TPanelBevel{}), EConvertError);
              EXPECT_THROW(wallpaper.Assign(picture), EConvertError);
            }),
            0);
  EXPECT_EQ(wallpaper.Bitmap().Width(), 4);
}

TEST(WallpaperStyleText, NamesReadBackAndNothingElseReads) {
  for (int v = wpNone; v <= wpTile; ++v) {
    EXPECT_EQ(ParsePanelWallpaperStyle(ToString(TPanelWallpaperStyle(v))), TPanelWallpaperStyle(v));
  }
  EXPECT_EQ(ToString(wpStretch), "wpStretch");
  EXPECT_THROW(ToString(TPanelWallpaperStyle(4)), EConvertError);
  EXPECT_THROW(ParsePanelWallpaperStyle("wptile"), EConvertError);
  EXPECT_THROW(ParsePanelWallpaperStyle(""), EConvertError);
}

}  // namespace
}  // namespace vexlan
