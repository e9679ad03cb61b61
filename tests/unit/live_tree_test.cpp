#include "winutil/live_tree.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/fake_clock.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_window_events.h"

namespace vexlan {
namespace {

using testing::FakeClock;
using testing::FakeDesktop;
using testing::FakeWindowEvents;

// Work as the desktop's calls cost it: so many microseconds a call.
class FakeMeter : public WorkMeter {
 public:
  std::int64_t SpentUs() override { return spent_us; }
  std::int64_t spent_us = 0;
};

class LiveTreeTest : public ::testing::Test {
 protected:
  static constexpr std::int64_t kCallUs = 25;

  // A desktop and a live tree over it, its model built afresh.
  void Start(FakeWindowEvents::Raises raises, bool only_shown = false, LiveTreeSettings settings = {},
             int padding = 200) {
    live.reset();
    events.reset();
    d = FakeDesktop();
    only_shown_ = only_shown;
    a = d.Add(0, "Alpha", "Frame");
    a1 = d.Add(a, "One", "Button");
    a2 = d.Add(a, "Two", "Edit");
    d.Add(a2, "Deep", "Static");
    b = d.Add(0, "Beta", "Frame", false);
    d.Add(b, "Inner", "Button");
    c = d.Add(0, "Gamma", "Frame");
    // Windows no change touches, which a walk would have to read too, 50 to
    // a parent.
    for (int i = 0; i < padding; i += 50) {
      const WindowHandle holder = d.Add(c, "Holder", "Panel");
      for (int j = i; j < std::min(padding, i + 50); ++j) d.Add(holder, "Padding " + std::to_string(j), "Static");
    }
    d.on_query = [this](WindowHandle) {
      ++calls;
      meter.spent_us += kCallUs;
      if (ms_per_100_calls && calls % 100 == 0) clock.Advance(ms_per_100_calls);
    };
    events.emplace(d, raises);
    live.emplace(model, d, clock, meter, settings);
    live->SetOnlyShown(only_shown);
    events->Watch([this](const WindowEvent& e) { live->Mark(e); });
    model.Build(Fresh());
    live->Rebuilt();
  }
  std::vector<WindowRow> Fresh() { return WalkWindows(d, d.TopWindow(), only_shown_); }
  // Runs every step due until `until_ms` on the clock.
  void RunUntil(std::int64_t until_ms) {
    while (true) {
      events->Deliver();
      const std::int64_t due = live->DueAtMs();
      if (due > until_ms) break;
      if (due > clock.now_ms) clock.now_ms = due;
      const std::int64_t before_us = meter.spent_us;
      live->Step();
      largest_step_us = std::max(largest_step_us, meter.spent_us - before_us);
    }
    clock.now_ms = std::max(clock.now_ms, until_ms);
  }
  bool SameAsFresh() {
    WindowTreeModel fresh;
    fresh.Build(Fresh());
    return model.SameListing(fresh);
  }

  FakeDesktop d;
  FakeClock clock;
  FakeMeter meter;
  WindowTreeModel model;
  std::optional<FakeWindowEvents> events;
  std::optional<LiveTree> live;
  bool only_shown_ = false;
  int ms_per_100_calls = 0;
  std::int64_t largest_step_us = 0;
  int calls = 0;
  WindowHandle a, a1, a2, b, c;
};

// Where the platform reports every change (Windows), each shows a settling
// delay after it happened, at the cost of the windows it concerns; so many
// new windows under one parent that its run is read once instead, or so
// many that one walk of everything does.
TEST_F(LiveTreeTest, EveryKindOfChangeFollowsFromItsEventAlone) {
  struct Case {
    const char* name;
    bool only_shown;
    std::function<void()> change;
    int most_calls = 60, walks = 0;
  };
  const auto add = [&](int n) {
    for (int i = 0; i < n; ++i) d.Add(a, "New " + std::to_string(i), "Button");
  };
  const Case cases[] = {
      {"a window appears", false, [&] { add(1); }},
      {"a window appears above others", false, [&] { d.Restack(d.Add(a, "New", "Button"), 0); }},
      {"a whole subtree appears", false, [&] { d.Add(d.Add(d.Add(0, "Top", "Frame"), "Mid", "Panel"), "x", "B"); }},
      {"a window closes", false, [&] { d.Destroy(a2); }},
      {"a window is renamed", false, [&] { d.Rename(a1, "Uno"); }},
      {"a window is restacked", false, [&] { d.Restack(a2, 0); }},
      {"a top-level window is restacked", false, [&] { d.Restack(c, 0); }},
      {"a window moves to another parent", false, [&] { d.Reparent(a2, b); }},
      {"a window is shown under the filter", true, [&] { d.SetVisible(b, true); }},
      {"a window is hidden under the filter", true, [&] { d.SetVisible(a2, false); }},
      {"a handle comes back for another class", false, [&] { d.Destroy(a1), d.Add(a, "One", "Edit", true, a1); }},
      {"a handle comes back for another thread", false,
       [&] { d.Destroy(a1), d.Add(a, "One", "Button", true, a1), d.At(a1).thread = 2; }},
      {"a handle comes back for the same class elsewhere", false,
       [&] { d.Destroy(a1), d.Add(a, "One", "Button", true, a1); }},
      {"a window moves under a new window", false, [&] { d.Reparent(a1, d.Add(0, "New", "Frame")); }},
      {"many new windows under one parent", false, [&] { add(40); }, 360},
      {"more new windows than are worth marking", false, [&] { add(300); }, 1'000'000, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    LiveTreeSettings settings;
    settings.shortest_interval_ms = 1'000'000;  // no periodic walk here
    Start(FakeWindowEvents::Raises::kEverything, k.only_shown, settings);
    const WindowTreeModel before = model;
    k.change();
    RunUntil(clock.now_ms + 100);
    EXPECT_TRUE(model.SameListing(before)) << "nothing before the marks settle";
    calls = 0;
    RunUntil(clock.now_ms + 200);
    const int spent = calls;
    EXPECT_TRUE(SameAsFresh()) << model.TreeText();
    EXPECT_EQ(live->Figures().walks, k.walks);
    EXPECT_LT(spent, k.most_calls) << "a walk of everything takes about " << 3 * d.Size() << " calls";
  }
}

// Wine 8 reports creations alone: the rest shows after the periodic walk,
// which costs what the desktop's size makes it cost and comes back as often
// as the share of one core pays for, never more.
TEST_F(LiveTreeTest, PeriodicWalksFindWhatIsNotReportedWithinTheirShareOfOneCore) {
  for (const auto& [windows, least_walks] : {std::pair{0, 100}, {1000, 10}, {10000, 1}}) {
    SCOPED_TRACE(windows);
    Start(FakeWindowEvents::Raises::kCreationsOnly, false, {}, windows);
    RunUntil(clock.now_ms + 20);
    d.Add(a, "New", "Button");
    d.Rename(a1, "Uno");
    RunUntil(clock.now_ms + 260);
    EXPECT_EQ(model.Children(a).size(), 3u) << "the creation was reported";
    const std::int64_t start_ms = clock.now_ms, start_us = meter.spent_us;
    largest_step_us = 0;
    RunUntil(start_ms + 120'000);
    // What the share pays for, what it may save up, and the last step's
    // work, which is paid for after it.
    EXPECT_LE(meter.spent_us - start_us, 120'000 * 50 + 100'000 + largest_step_us);
    EXPECT_GE(live->Figures().walks, least_walks);
    EXPECT_TRUE(SameAsFresh()) << "the caption found by a walk";
  }
}

// A walk of a big desktop goes in slices that each hold the thread briefly;
// events that come meanwhile wait for its end and are looked at then.
TEST_F(LiveTreeTest, AWalkGoesInSlicesAndMarksWaitForItsEnd) {
  ms_per_100_calls = 1;
  Start(FakeWindowEvents::Raises::kEverything, false, {}, 5000);
  clock.now_ms = live->DueAtMs();
  live->Step();  // the first slice of the first walk
  ASSERT_TRUE(live->Walking());
  d.Add(a, "New", "Button");
  int slices = 1;
  while (live->Walking()) {
    events->Deliver();
    clock.now_ms = std::max(clock.now_ms, live->DueAtMs());
    live->Step();
    ++slices;
  }
  EXPECT_GT(slices, 5);
  EXPECT_LE(live->Figures().longest_step_ms, LiveTreeSettings{}.slice_ms + 2) << "a slice, and a run of 100 windows read whole";
  EXPECT_EQ(live->Marked(), 1u) << "the new window's marks wait";
  RunUntil(clock.now_ms + 300);
  EXPECT_EQ(live->Marked(), 0u);
  EXPECT_TRUE(SameAsFresh());
}

}  // namespace
}  // namespace vexlan
