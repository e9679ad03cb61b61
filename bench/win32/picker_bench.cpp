// The cost of one tick of the Find Element picker under the real platform,
// over windows of another process: the cursor resting on one window (the
// fields already show it and the highlight frame surrounds it, so nothing is
// written or moved) and the cursor moved to the other window before every
// tick (all three fields rewritten, the frame moved).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit3.h"
#include "forms/picker_sight.h"
#include "platform/toolkit/win32/application.h"
#include "platform/win32/win32_platform.h"
#include "tests/win32/support/fixture_process.h"
#include "winutil/win32/highlight_frame.h"

namespace {

using Clock = std::chrono::steady_clock;

POINT Centre(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

double MedianMs(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void MeasurePickerTick(vexlan::TApplication& app) {
  using namespace vexlan;
  testing::FixtureProcess fixture({"top|A|VexlanBenchA|First window", "top|B|VexlanBenchB|Second window"});
  ::SetWindowPos(fixture.Handle("A"), HWND_TOP, 700, 500, 200, 100, SWP_NOACTIVATE);
  ::SetWindowPos(fixture.Handle("B"), HWND_TOP, 950, 500, 200, 100, SWP_NOACTIVATE);
  app.CreateForm(Form3);
  Form3->Show();
  Form3->Timer1->SetEnabled(false);  // ticks are called here, one at a time
  app.ProcessMessages();
  const POINT at[] = {Centre(fixture.Handle("A")), Centre(fixture.Handle("B"))};

  constexpr int kTicks = 300;
  std::vector<double> resting, moving;
  ::SetCursorPos(at[0].x, at[0].y);
  Form3->Timer1Timer(nullptr);
  for (int i = 0; i < kTicks; ++i) {
    const auto t0 = Clock::now();
    Form3->Timer1Timer(nullptr);
    resting.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  for (int i = 0; i < kTicks; ++i) {
    ::SetCursorPos(at[i % 2].x, at[i % 2].y);
    const auto t0 = Clock::now();
    Form3->Timer1Timer(nullptr);
    moving.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    app.ProcessMessages();  // the fields repaint between ticks, as they would
  }
  const double rest = MedianMs(resting), move = MedianMs(moving);
  std::printf("Picker tick (median of %d, the highlight frame shown): cursor resting %.3f ms (%.2f%% of the "
              "100 ms period), cursor moving between windows %.3f ms (%.2f%%)\n",
              kTicks, rest, rest, move, move);
  Form3->Close();

  // The frame's own share of those ticks, apart from the other program's
  // answers, whose time depends on how the two processes are scheduled.
  THighlightFrame frame;
  std::vector<double> follow, jump;
  for (int i = 0; i < kTicks; ++i) {
    const auto t0 = Clock::now();
    frame.Follow(fixture.Handle("A"));
    follow.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  for (int i = 0; i < kTicks; ++i) {
    const auto t0 = Clock::now();
    frame.Follow(fixture.Handle(i % 2 ? "A" : "B"));
    jump.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    app.ProcessMessages();
  }
  std::printf("Highlight frame (median of %d): following a window that stays %.3f ms, moving to another %.3f ms\n",
              kTicks, MedianMs(follow), MedianMs(jump));

  // The look that keeps the picker and its frame in sight, nothing having
  // come above them: the foreground and the top of the Z order.
  Form3->Show();
  app.ProcessMessages();
  TPickerSight sight;
  sight.Opened(Form3->Handle());
  sight.Pointed(fixture.Id("A"));
  std::vector<double> keep;
  for (int i = 0; i < kTicks; ++i) {
    const auto t0 = Clock::now();
    sight.Keep();
    keep.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  std::printf("Keeping the picker in sight (median of %d), nothing above it: %.3f ms\n", kTicks, MedianMs(keep));
  sight.Closed(Form3->Handle());
  Form3->Close();
  std::fflush(stdout);
}

}  // namespace

int main() {
  try {
    const vexlan::ScopedPlatform platform(vexlan::SystemPlatform());
    vexlan::TApplication app;
    app.Initialize();
    vexlan::TForm1* form = nullptr;
    app.CreateForm(form);
    MeasurePickerTick(app);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
