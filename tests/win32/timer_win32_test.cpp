#include "platform/toolkit/win32/timer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/toolkit/win32/application.h"
#include "tests/win32/toolkit_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

TEST(TTimer, TicksOnlyWhileEnabledAndNeverInsideItsOwnTick) {
  TApplication app;
  TTimer timer(nullptr);
  int ticks = 0, nested = 0;
  bool inside = false;
  timer.OnTimer = [&](TObject* sender) {
    EXPECT_EQ(sender, &timer);
    if (inside) ++nested;
    inside = true;
    ++ticks;
    if (ticks == 2) Settle(app, 200);  // a loop inside the handler, as a message box runs
    inside = false;
  };
  timer.SetInterval(20);
  EXPECT_TRUE(PumpUntil(app, [&] { return ticks >= 4; }));
  EXPECT_EQ(nested, 0);

  timer.SetEnabled(false);
  const int stopped_at = ticks;
  Settle(app, 300);
  EXPECT_EQ(ticks, stopped_at) << "a disabled timer ticked";

  // A tick already queued when the timer stops is dropped.
  timer.SetEnabled(true);
  ::Sleep(60);
  timer.SetEnabled(false);
  Settle(app, 200);
  EXPECT_EQ(ticks, stopped_at);
}

TEST(TTimer, WhileLoadingItWaitsForLoaded) {
  TApplication app;
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.SetEnabled(false);
  timer.BeginLoading();
  timer.SetInterval(20);
  timer.SetEnabled(true);
  Settle(app, 200);
  EXPECT_EQ(ticks, 0);
  timer.Loaded();
  EXPECT_TRUE(PumpUntil(app, [&] { return ticks > 0; }));
}

}  // namespace
}  // namespace vexlan
