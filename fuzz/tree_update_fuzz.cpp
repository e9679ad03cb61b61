// The tree model over a desktop that other programs keep changing: windows
// appear with subtrees, close, are renamed, restacked, moved to another
// parent, shown and hidden, and handles come back for other windows. After
// every step the model must be the one a fresh build from a walk of the
// desktop gives (same windows, parents, node captions, register order), by
// whichever way it was brought up to date:
//   0 and 1: a walk of everything, its changes also replayed on the old
//      model (0: every identity read; 1: the model's windows taken as known,
//      which only the replay is checked against);
//   2: the live tree, told every change by events as Windows tells them
//      (which reads runs again, its known windows taken with their children);
//   3: the live tree, told only creations (Wine 8), and its periodic walks.
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_window_events.h"
#include "winutil/live_tree.h"
#include "winutil/tree_model.h"

using namespace vexlan;
using vexlan::testing::FakeClock;
using vexlan::testing::FakeDesktop;
using vexlan::testing::FakeWindowEvents;

namespace {

constexpr const char* kClasses[] = {"Frame", "Button", "Edit"};
constexpr const char* kCaptions[] = {"", "a", "B", "\"q\" [x]", "(1)"};

class ZeroMeter : public WorkMeter {
 public:
  std::int64_t SpentUs() override { return 0; }
};

using Known = std::function<const WindowIdentity*(WindowHandle)>;

std::vector<WindowRow> WalkAll(FakeDesktop& d, bool only_shown, WalkOptions::Identity identity, Known known = {}) {
  WindowWalk walk = WindowWalk::Under(d, 0, WalkOptions{only_shown, identity, std::move(known), false, nullptr});
  walk.Continue();
  return walk.TakeRows();
}

// One change another program makes to a window it picks (0: none).
void Change(FuzzedDataProvider& in, FakeDesktop& d) {
  std::vector<WindowHandle> all{0};
  for (const WindowRow& row : WalkAll(d, false, WalkOptions::Identity::kClass)) all.push_back(row.wnd);
  const auto pick = [&] { return all[in.ConsumeIntegralInRange<std::size_t>(0, all.size() - 1)]; };
  const auto caption = [&] { return kCaptions[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kCaptions) - 1)]; };
  const auto class_name = [&] { return kClasses[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kClasses) - 1)]; };
  const WindowHandle w = pick(), other = pick();
  const auto sibling = [&](WindowHandle x) { return x != 0 && x != w && d.At(x).parent == d.At(w).parent; };
  switch (w == 0 ? 0 : in.ConsumeIntegralInRange(0, 7)) {
    case 0: {  // a window appears under `w`, somewhere among its siblings, perhaps with children
      WindowHandle made = d.Add(w, caption(), class_name(), in.ConsumeIntegral<std::uint8_t>() % 4 != 0);
      if (other != 0 && d.At(other).parent == w && other != made && in.ConsumeBool()) d.Restack(made, other);
      for (int n = in.ConsumeIntegralInRange(0, 2); n > 0; --n) made = d.Add(made, caption(), class_name());
      break;
    }
    case 1:
      return d.Destroy(w);
    case 2:
      return d.Rename(w, caption());
    case 3:
      return d.Restack(w, sibling(other) ? other : 0);
    case 4: {  // to another parent, never under itself
      for (WindowHandle a = other; a != 0; a = d.At(a).parent) {
        if (a == w) return;
      }
      return d.Reparent(w, other);
    }
    case 5:
      return d.SetVisible(w, !d.At(w).visible);
    case 6:  // the handle comes back for another window
      if (d.At(w).first_child == 0) {
        const WindowHandle parent = d.At(w).parent;
        d.Destroy(w);
        d.Add(parent, caption(), class_name(), true, w);
        d.At(w).thread = in.ConsumeIntegralInRange(1, 2);
      }
      break;
    default:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int way = in.ConsumeIntegralInRange(0, 3);
  const bool only_shown = in.ConsumeBool();
  FakeDesktop d;
  for (int n = in.ConsumeIntegralInRange(0, 12); n > 0; --n) Change(in, d);
  const auto identity = way == 0 ? WalkOptions::Identity::kEvery : WalkOptions::Identity::kNew;

  WindowTreeModel model;
  model.Build(WalkAll(d, only_shown, WalkOptions::Identity::kEvery));
  FakeClock clock;
  ZeroMeter meter;
  std::optional<FakeWindowEvents> events;
  std::optional<LiveTree> live;
  if (way >= 2) {
    events.emplace(d, way == 2 ? FakeWindowEvents::Raises::kEverything : FakeWindowEvents::Raises::kCreationsOnly);
    // Every other walk reads everything again: a window given a new parent
    // (not reported under Wine) shows after two.
    LiveTreeSettings settings;
    settings.shortest_interval_ms = way == 2 ? 1'000'000'000 : 1000;
    settings.identity_every = 2;
    live.emplace(model, d, clock, meter, settings);
    live->SetOnlyShown(only_shown);
    events->Watch([&](const WindowEvent& e) { live->Mark(e); });
  }

  for (int step = 0; step < 16 && in.remaining_bytes() > 0; ++step) {
    const int changes = in.ConsumeIntegralInRange(1, 3);
    for (int n = 0; n < changes; ++n) Change(in, d);
    if (way <= 1) {
      Known known;
      if (way == 1) known = [&](WindowHandle w) { return model.Find(w) ? &model.Find(w)->identity : nullptr; };
      WindowTreeModel replayed = model;
      replayed.Apply(model.Update(0, WalkAll(d, only_shown, identity, known)));
      FUZZ_CHECK(replayed.SameListing(model));
    } else {
      // The events come, the marks settle and are looked at; under Wine the
      // periodic walk follows.
      events->Deliver();
      clock.Advance(300);
      while (live->Marked() > 0 || live->Walking()) {
        live->Step();
        events->Deliver();
        clock.Advance(1);
      }
      for (int walks = 0; way == 3 && walks < 2; ++walks) {
        clock.now_ms = std::max(clock.now_ms, live->DueAtMs());
        live->Step();
        while (live->Walking()) live->Step();
      }
    }
    // Taken as known, a handle that came back for another window is not
    // told from the old one: the live tree looks at created windows for that.
    if (way == 1) continue;
    WindowTreeModel fresh;
    fresh.Build(WalkAll(d, only_shown, WalkOptions::Identity::kClass));
    FUZZ_CHECK(model.SameListing(fresh));
  }
  return 0;
}
