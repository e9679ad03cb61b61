// Painting the panel's decorations into memory: a whole bar as the panel
// paints it, and the ring pass against its depth, whose work should follow
// the canvas's size rather than the depth.
#include <benchmark/benchmark.h>

#include "components/panel_frames.h"
#include "components/panel_wallpaper.h"
#include "tests/support/canvas_test_support.h"

namespace {

using namespace vexlan;

void BM_DrawRingsDepth(benchmark::State& state) {
  TMemoryCanvas canvas = vexlan::testing::FakeCanvas(64, 64);
  const auto depth = static_cast<std::int32_t>(state.range(0));
  for (auto _ : state) {
    TRect work{0, 0, 64, 64};
    DrawRings(canvas, work, kAllRealSides, clBtnShadow, clBtnHighlight, depth);
    benchmark::DoNotOptimize(work);
  }
}
BENCHMARK(BM_DrawRingsDepth)->Arg(1)->Arg(32)->Arg(1 << 16)->Arg(INT32_MAX)->Unit(benchmark::kMicrosecond);

// Border, both bevels and a tiled wallpaper on a bar of the main form's size.
void BM_PaintBar(benchmark::State& state) {
  TMemoryCanvas canvas = vexlan::testing::FakeCanvas(500, 27);
  TPanelBorder border;
  border.SetStyle(bsRound);
  TPanelBevel outer, inner;
  outer.SetStyle(bvRaised);
  inner.SetStyle(bvGroove);
  inner.SetSpaceOuter(1);
  TPanelWallpaper wallpaper;
  vexlan::testing::FillWithPositions(wallpaper.Bitmap(), static_cast<int>(state.range(0)), static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TRect r{0, 0, 500, 27};
    border.Draw(canvas, r, kAllRealSides);
    border.AdjustRect(r, kAllRealSides);
    outer.Draw(canvas, r, kAllRealSides);
    outer.AdjustRect(r, kAllRealSides);
    inner.Draw(canvas, r, kAllRealSides);
    inner.AdjustRect(r, kAllRealSides);
    wallpaper.Draw(canvas, r, clBtnFace);
    benchmark::DoNotOptimize(canvas.Pixels().data());
  }
}
BENCHMARK(BM_PaintBar)->Arg(2)->Arg(16)->Unit(benchmark::kMicrosecond);

}  // namespace
