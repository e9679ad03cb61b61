// How long a full-HD advanced panel takes to paint, against the floor no
// painting of that area can go under: one BitBlt of the whole area into the
// same memory device context. The panel has every frame (a round border, a
// raised outer and a grooved inner bevel with spaces) and a tiled 16 x 16
// wallpaper, and paints through the GDI canvas as its window would. For
// reference, the tiles alone laid one by one, as the plain tiling loop
// would. Interleaved runs; medians and the median of per-run ratios. Prints
// figures only.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <tuple>
#include <vector>

#include "components/win32/advanced_panel.h"
#include "platform/toolkit/win32/gdi_canvas.h"
#include "platform/toolkit/win32/handles.h"

namespace {

using namespace vexlan;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1920, kHeight = 1080, kTile = 16;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A memory DC over a full-HD 32-bit DIB section.
struct Surface {
  Surface() {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap.reset(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) std::exit(1);
    std::fill_n(static_cast<TPixel*>(bits), kWidth * kHeight, 0x00808080);
    selection.emplace(dc.get(), bitmap.get());
  }
  UniqueDC dc{::CreateCompatibleDC(nullptr)};
  UniqueBitmap bitmap;
  std::optional<ScopedSelection> selection;
};

template <class Paint>
double Time(Paint paint) {
  const auto start = Clock::now();
  paint();
  ::GdiFlush();
  return Ms(Clock::now() - start);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;
  TAdvancedPanel panel(nullptr);
  panel.SetBounds(0, 0, kWidth, kHeight);
  panel.Border().SetStyle(bsRound);
  panel.BevelOuter().SetDepth(2);
  panel.BevelOuter().SetSpaceOuter(1);
  panel.BevelInner().SetStyle(bvGroove);
  panel.BevelInner().SetSpaceOuter(2);
  panel.BevelInner().SetSpaceInner(2);
  TBitmap& tile = panel.Wallpaper().Bitmap();
  tile.SetSize(kTile, kTile);
  for (int y = 0; y < kTile; ++y) {
    for (int x = 0; x < kTile; ++x) tile.SetPixel(x, y, static_cast<TPixel>(x * 0x0F0000 + y * 0x000F00 + 0x40));
  }
  TRect content;
  panel.GetContentRect(content);

  Surface target, source;
  auto floor = [&] { ::BitBlt(target.dc.get(), 0, 0, kWidth, kHeight, source.dc.get(), 0, 0, SRCCOPY); };
  const std::function<void()> paint = [&] {
    TGdiCanvas canvas(target.dc.get());
    panel.PaintTo(canvas);
  };
  const std::function<void()> one_by_one = [&] {
    TGdiCanvas canvas(target.dc.get());
    for (int y = content.Top; y < content.Bottom; y += kTile) {
      for (int x = content.Left; x < content.Right; x += kTile) {
        canvas.BitBlt(x, y, content.Right - x, content.Bottom - y, tile, 0, 0);
      }
    }
  };
  // Pairs with the floor; the two paintings apart, since each would push the
  // other's picture out of the canvas's cache.
  std::vector<double> floors, paints, tiles, paint_ratios, tile_ratios;
  for (auto [painting, times, ratios] : {std::tuple{&paint, &paints, &paint_ratios},
                                         std::tuple{&one_by_one, &tiles, &tile_ratios}}) {
    floor(), (*painting)();  // warm: caches, first touches of the pages
    for (int i = 0; i < runs; ++i) {
      floors.push_back(Time(floor));
      times->push_back(Time(*painting));
      ratios->push_back(times->back() / floors.back());
    }
  }
  std::printf("Painting a %d x %d advanced panel (every frame, %d x %d tiled wallpaper) through the GDI canvas\n"
              "into a memory device context, against one BitBlt of the whole area (medians of %d runs each)\n",
              kWidth, kHeight, kTile, kTile, runs);
  std::printf("  floor, one BitBlt           %8.2f ms\n", Median(floors));
  std::printf("  the panel's paint           %8.2f ms   ratio %5.2f  (target 3 or less)\n", Median(paints),
              Median(paint_ratios));
  const int copies = ((content.Right - content.Left + kTile - 1) / kTile) *
                     ((content.Bottom - content.Top + kTile - 1) / kTile);
  std::printf("  tiles alone, one by one     %8.2f ms   ratio %5.2f  (%d copies, for reference)\n", Median(tiles),
              Median(tile_ratios), copies);
  return 0;
}
