// The GDI canvas against the memory canvas: the same decorations painted
// through both must give the same pixels, so the memory canvas's rules are
// the system's and the native pixel tests speak for the screen.
#include "platform/toolkit/win32/gdi_canvas.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "components/panel_frames.h"
#include "components/panel_wallpaper.h"
#include "platform/toolkit/memory_canvas.h"
#include "tests/support/canvas_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

constexpr int kWidth = 72, kHeight = 48;

// A 32-bit top-down DIB section in a memory DC, filled with kUntouched.
class DibSurface {
 public:
  DibSurface() : dc_(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<TPixel*>(bits);
    selection_.emplace(dc_.get(), bitmap_.get());
    std::fill(bits_, bits_ + kWidth * kHeight, kUntouched);
  }
  HDC dc() const { return dc_.get(); }
  TPixel Pixel(int x, int y) const {
    ::GdiFlush();
    return bits_[y * kWidth + x] & 0xFFFFFF;
  }

 private:
  UniqueDC dc_;
  UniqueBitmap bitmap_;
  std::optional<ScopedSelection> selection_;
  TPixel* bits_ = nullptr;
};

struct Scene {
  const char* what;
  std::function<void(TCanvas&)> paint;
  std::optional<TRect> clip{};
};

void Frame(TCanvas& c, TPanelBorderStyle style, TPanelSides sides, TRect rect) {
  TPanelBorder border;
  border.SetStyle(style);
  border.Draw(c, rect, sides);
}

void Bevel(TCanvas& c, TPanelBevelStyle style, int depth, int outer, int inner, TPanelSides sides, TRect rect) {
  TPanelBevel bevel;
  bevel.SetStyle(style);
  bevel.SetDepth(depth);
  bevel.SetSpaceOuter(outer);
  bevel.SetSpaceInner(inner);
  bevel.Draw(c, rect, sides);
}

void Wallpaper(TCanvas& c, TPanelWallpaperStyle style, int width, int height, TRect rect, TColor back) {
  TPanelWallpaper wallpaper;
  if (width >= 0) FillWithPositions(wallpaper.Bitmap(), width, height);
  wallpaper.SetStyle(style);
  wallpaper.Draw(c, rect, back);
}

const TPanelSides kAll = kAllRealSides;

TEST(TGdiCanvas, PaintsTheSamePixelsAsTheMemoryCanvas) {
  const Scene scenes[] = {
      {"every border style, all sides",
       [](TCanvas& c) {
         for (int s = bsLowered; s <= bsFlat; ++s) Frame(c, TPanelBorderStyle(s), kAll, {16 * (s - 1), 0, 16 * s - 2, 14});
       }},
      {"borders on some sides",
       [](TCanvas& c) {
         Frame(c, bsRound, {psRight}, {0, 0, 14, 10});
         Frame(c, bsRaised, {psBottom}, {16, 0, 30, 10});
         Frame(c, bsLowered, {psLeft, psTop}, {32, 0, 46, 10});
         Frame(c, bsFlat, {psTop, psRight}, {48, 0, 62, 10});
         Frame(c, bsRaised, kAll, {6, 20, 8, 16});  // crossed from the start
       }},
      {"bevels with spaces",
       [](TCanvas& c) {
         Bevel(c, bvGroove, 2, 1, 1, kAll, {0, 0, 14, 14});
         Bevel(c, bvBump, 1, 1, 0, {psTop}, {16, 0, 30, 8});
         Bevel(c, bvLowered, 1, 1, 2, {psLeft, psBottom}, {32, 0, 40, 8});
         Bevel(c, bvFlatDkShadow, 3, 0, 2, {psRight, psBottom}, {42, 0, 60, 12});
         Bevel(c, bvRaised, 2, 3, 3, kAll, {0, 20, 10, 30});  // crosses over inside its bands
       }},
      {"the largest depth on a small rectangle",
       [](TCanvas& c) { Bevel(c, bvGroove, INT32_MAX, 0, 0, kAll, {30, 20, 40, 28}); }},
      {"the largest depth through a clip region",
       [](TCanvas& c) { Bevel(c, bvRaised, INT32_MAX, 0, 0, kAll, {2, 2, 70, 46}); },
       TRect{10, 5, 40, 30}},
      {"plain wallpaper", [](TCanvas& c) { Wallpaper(c, wpNone, 25, 13, {2, 3, 60, 40}, kBackColor); }},
      {"centred wallpaper, odd differences",
       [](TCanvas& c) { Wallpaper(c, wpCenter, 20, 9, {1, 1, 62, 44}, clBtnFace); }},
      {"centred wallpaper, larger than the rectangle",
       [](TCanvas& c) { Wallpaper(c, wpCenter, 51, 40, {0, 0, 50, 30}, kBackColor); }},
      {"tiled wallpaper", [](TCanvas& c) { Wallpaper(c, wpTile, 7, 5, {3, 2, 63, 46}, kBackColor); }},
      {"tiled wallpaper through a clip region",
       [](TCanvas& c) { Wallpaper(c, wpTile, 9, 4, {0, 0, kWidth, kHeight}, kBackColor); }, TRect{5, 7, 33, 21}},
      {"dotted lines, cut by a clip region",
       [](TCanvas& c) {
         c.Pen = {clBtnShadow, psDot, 1};
         c.MoveTo(1, 40);
         c.LineTo(1, 1);
         c.LineTo(69, 1);
         c.MoveTo(-3, 44);
         c.LineTo(70, 44);
       },
       TRect{0, 0, 66, 47}},
      {"no picture, system back colour",
       [](TCanvas& c) { Wallpaper(c, wpTile, -1, -1, {4, 4, 50, 30}, clWindow); }},
  };
  for (const Scene& scene : scenes) {
    SCOPED_TRACE(scene.what);
    DibSurface surface;
    TMemoryCanvas memory(kWidth, kHeight, CurrentSystemColors(), kUntouched);
    if (scene.clip) {
      ::IntersectClipRect(surface.dc(), scene.clip->Left, scene.clip->Top, scene.clip->Right, scene.clip->Bottom);
      memory.SetClipRect(*scene.clip);
    }
    {
      TGdiCanvas gdi(surface.dc());
      EXPECT_EQ(gdi.ClipRect(), memory.ClipRect());
      scene.paint(gdi);
    }
    scene.paint(memory);
    int differences = 0;
    bool painted = false;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        painted |= memory.Pixel(x, y) != kUntouched;
        if (surface.Pixel(x, y) != memory.Pixel(x, y) && ++differences <= 3) {
          ADD_FAILURE() << "at " << x << "," << y << ": GDI " << std::hex << surface.Pixel(x, y) << ", memory "
                        << memory.Pixel(x, y);
        }
      }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_TRUE(painted);
  }
}

TEST(TGdiCanvas, StretchedWallpaperCoversItsRectangle) {
  const TRect rects[] = {{3, 2, 70, 45}, {3, 2, 30, 12}};
  for (const TRect& rect : rects) {
    SCOPED_TRACE(rect.Right);
    DibSurface surface;
    {
      TGdiCanvas gdi(surface.dc());
      Wallpaper(gdi, wpStretch, 40, 20, rect, kBackColor);
    }
    EXPECT_EQ(::GetStretchBltMode(surface.dc()), COLORONCOLOR);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const bool inside = x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
        ASSERT_EQ(inside, (surface.Pixel(x, y) & 0xFF0000) == 0xC00000) << x << "," << y;
      }
    }
    EXPECT_EQ(surface.Pixel(rect.Left, rect.Top), PositionPixel(0, 0));
    EXPECT_TRUE(ShowsBitmapCorner(surface.Pixel(rect.Right - 1, rect.Bottom - 1), rect, 40, 20));
  }
}

TEST(TGdiCanvas, PutsBackWhatItSelectedAndResolvesSystemColours) {
  DibSurface surface;
  const HGDIOBJ pen = ::GetCurrentObject(surface.dc(), OBJ_PEN);
  {
    TGdiCanvas gdi(surface.dc());
    Frame(gdi, bsRound, kAll, {0, 0, 20, 20});
    Wallpaper(gdi, wpTile, 3, 3, {6, 6, 14, 14}, kBackColor);
    EXPECT_NE(::GetCurrentObject(surface.dc(), OBJ_PEN), pen);
  }
  EXPECT_EQ(::GetCurrentObject(surface.dc(), OBJ_PEN), pen);
  EXPECT_EQ(surface.Pixel(0, 0), RGBToPixel(::GetSysColor(COLOR_BTNHIGHLIGHT)));
  EXPECT_EQ(surface.Pixel(19, 19), RGBToPixel(::GetSysColor(COLOR_3DDKSHADOW)));
  EXPECT_EQ(CurrentSystemColors()[COLOR_BTNFACE], RGBToPixel(::GetSysColor(COLOR_BTNFACE)));
}

}  // namespace
}  // namespace vexlan
