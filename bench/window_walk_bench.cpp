// The core walk alone over an in-memory desktop: what the tree costs before
// any window-manager call or tree-view insert is paid for.
#include <benchmark/benchmark.h>

#include "tests/support/fake_desktop.h"
#include "winutil/window_tree.h"

namespace {

using vexlan::WindowHandle;
using vexlan::testing::FakeDesktop;

// `count` windows in chains `depth` deep under top-level windows.
void Populate(FakeDesktop& d, int count, int depth) {
  int made = 0;
  while (made < count) {
    WindowHandle parent = 0;
    for (int level = 0; level < depth && made < count; ++level, ++made) {
      parent = d.Add(parent, "Window caption " + std::to_string(made), "VexlanBulk");
    }
  }
}

void BM_WalkWindows(benchmark::State& state) {
  FakeDesktop d;
  Populate(d, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    auto rows = vexlan::WalkWindows(d, d.TopWindow(), false);
    benchmark::DoNotOptimize(rows.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WalkWindows)->Args({1000, 1})->Args({10000, 1})->Args({10000, 8})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
