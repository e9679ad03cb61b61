// Changes to other programs' windows: handed to the window's thread or run
// on a worker, never waited on past the time-out, at most a few waiting.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "tests/support/fake_desktop.h"
#include "winutil/ExtCntrlsUtils.h"

namespace vexlan {
namespace {

using testing::FakeDesktop;
using testing::LoggedMessage;
using Change = std::function<Outcome(WindowChanger&, WindowHandle)>;

constexpr std::uint32_t kOverlapped = 0x10CF0000;  // WS_OVERLAPPEDWINDOW | WS_VISIBLE
constexpr std::uint32_t kWsDisabled = 0x08000000, kWsHScroll = 0x00100000, kWsExToolWindow = 0x00000080;
constexpr std::uint32_t kChildStyle = 0x50000000;  // WS_CHILD | WS_VISIBLE

// A visible top-level window 200 x 100 at 40, 40, and a child of it at 4, 4
// of its client area, which begins 8, 30 inside it.
struct Windows {
  FakeDesktop d;
  WindowHandle top = d.Add(0, "Target", "VexlanTarget");
  WindowHandle child = d.Add(top, "Child", "Button");
  Windows() {
    d.At(top).facts.style = kOverlapped;
    d.At(top).facts.rect = d.At(top).facts.placement = {40, 40, 240, 140};
    d.At(child).facts.style = kChildStyle;
    d.At(child).facts.rect = {52, 74, 152, 94};
    d.At(child).facts.placement = {4, 4, 104, 24};
  }
  WindowChanger Changer(ChangeWorkers& workers) { return WindowChanger(d, d, d, workers); }
};

// Until the workers have nothing left, or a generous while.
bool Idle(const ChangeWorkers& workers) {
  for (int i = 0; i < 500 && workers.Waiting() > 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return workers.Waiting() == 0;
}

struct Row {
  const char* name;
  bool child;
  Change change;
  unsigned synchronous;  // calls made on a worker
  unsigned placed;       // SetWindowPos calls, every one asynchronous
  std::function<bool(const WindowRecord&, FakeDesktop&, WindowHandle)> took;
  // On a window whose thread does not answer: only what waits for it is
  // not answered in time.
  Outcome hung = Outcome::kDone;
};

const Row kRows[] = {
    {"disable", false, [](WindowChanger& c, WindowHandle w) { return c.SetEnabled(w, false); }, 1, 0,
     [](const WindowRecord& r, FakeDesktop&, WindowHandle) { return !r.enabled; }, Outcome::kNotAnswered},
    {"always on top", false, [](WindowChanger& c, WindowHandle w) { return c.SetTopmost(w, true); }, 0, 1,
     [](const WindowRecord& r, FakeDesktop&, WindowHandle) { return (r.ex_style & kWsExTopMost) != 0; }},
    {"to the front", false, [](WindowChanger& c, WindowHandle w) { return c.BringToFront(w); }, 1, 0,
     [](const WindowRecord&, FakeDesktop& d, WindowHandle w) { return d.foreground == w; }},
    {"a child to the top of its siblings", true, [](WindowChanger& c, WindowHandle w) { return c.BringToFront(w); },
     0, 1,
     [](const WindowRecord&, FakeDesktop& d, WindowHandle w) {
       return d.foreground == 0 && d.At(w).positioned.at(0).insert_after == kHwndTop;
     }},
    {"move and size", false,
     [](WindowChanger& c, WindowHandle w) { return c.MoveAndSize(w, {-10, 20, 300, 0}); }, 0, 1,
     [](const WindowRecord& r, FakeDesktop&, WindowHandle) {
       return r.placement == WindowRect{-10, 20, 290, 20} && r.rect == r.placement;
     }},
    {"move and size a child, in its parent's client area", true,
     [](WindowChanger& c, WindowHandle w) { return c.MoveAndSize(w, {10, 12, 50, 30}); }, 0, 1,
     [](const WindowRecord& r, FakeDesktop&, WindowHandle) {
       return r.placement == WindowRect{10, 12, 60, 42} && r.rect == WindowRect{58, 82, 108, 112};
     }},
    {"both styles", false,
     [](WindowChanger& c, WindowHandle w) { return c.SetStyles(w, kOverlapped | kWsHScroll, kWsExToolWindow); }, 2,
     1,
     [](const WindowRecord& r, FakeDesktop&, WindowHandle) {
       return r.style == (kOverlapped | kWsHScroll) && r.ex_style == kWsExToolWindow;
     },
     Outcome::kNotAnswered},
    {"only the extended style differs", false,
     [](WindowChanger& c, WindowHandle w) { return c.SetStyles(w, kOverlapped, kWsExToolWindow); }, 1, 1,
     [](const WindowRecord& r, FakeDesktop&, WindowHandle) { return r.ex_style == kWsExToolWindow; },
     Outcome::kNotAnswered},
    {"styles as they are", false, [](WindowChanger& c, WindowHandle w) { return c.SetStyles(w, kOverlapped, 0); },
     0, 0, [](const WindowRecord& r, FakeDesktop&, WindowHandle) { return r.style == kOverlapped; }},
};

// Every change is handed to the window's thread with SWP_ASYNCWINDOWPOS or
// made on a worker thread, never on the caller's.
TEST(WindowChanger, GoesTheAsynchronousWayOrThroughAWorker) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    Windows w;
    ChangeWorkers workers;
    WindowChanger changer = w.Changer(workers);
    const WindowHandle target = row.child ? w.child : w.top;
    EXPECT_EQ(row.change(changer, target), Outcome::kDone);
    ASSERT_TRUE(Idle(workers));
    w.d.Drain(target);
    EXPECT_TRUE(row.took(*w.d.Record(target), w.d, target));
    const FakeDesktop::Window& fake = w.d.At(target);
    EXPECT_EQ(fake.changes.size(), row.synchronous);
    for (const testing::LoggedCall& call : fake.changes) EXPECT_NE(call.thread, std::this_thread::get_id());
    EXPECT_EQ(fake.positioned.size(), row.placed);
    for (const testing::LoggedWindowPos& p : fake.positioned) EXPECT_NE(p.flags & kSwpAsyncWindowPos, 0u);
  }
}

// A window whose thread does not answer holds the caller at most the
// policy's time-out, and is told so; each change arrives once it answers.
TEST(WindowChanger, AWindowThatDoesNotAnswerIsToldWithinTheBoundAndChangedLater) {
  for (const Row& row : kRows) {
    if (row.synchronous + row.placed == 0) continue;
    SCOPED_TRACE(row.name);
    Windows w;
    ChangeWorkers workers;
    WindowChanger changer = w.Changer(workers);
    const WindowHandle target = row.child ? w.child : w.top;
    w.d.At(target).hung = true;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(row.change(changer, target), row.hung);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3 * kSendTimeoutMs));
    EXPECT_EQ(workers.Waiting(), row.hung == Outcome::kDone ? 0u : 1u);
    if (row.hung != Outcome::kDone) {
      EXPECT_FALSE(row.took(*w.d.Record(target), w.d, target));
    }
    w.d.At(target).hung = false;
    w.d.Drain(target);
    ASSERT_TRUE(Idle(workers));
    w.d.Drain(target);
    EXPECT_TRUE(row.took(*w.d.Record(target), w.d, target));
  }
}

// At most the limit wait; past it nothing starts. A window's changes keep
// their order however long it takes to answer, even changes of two steps.
TEST(ChangeWorkers, HoldTheLimitAndKeepEachWindowsOrder) {
  Windows w;
  const WindowHandle other = w.d.Add(0, "Other", "VexlanTarget"), third = w.d.Add(0, "Third", "VexlanTarget");
  ChangeWorkers workers(50, 3);
  WindowChanger changer = w.Changer(workers);
  w.d.At(w.top).hung = w.d.At(other).hung = true;
  EXPECT_EQ(changer.SetStyles(w.top, kOverlapped | kWsHScroll, kWsExToolWindow), Outcome::kNotAnswered);
  EXPECT_EQ(changer.SetStyles(w.top, kOverlapped, kWsExTopMost), Outcome::kNotAnswered);
  EXPECT_EQ(changer.SetEnabled(other, false), Outcome::kNotAnswered);
  EXPECT_EQ(changer.SetEnabled(third, false), Outcome::kStillWaiting);
  EXPECT_TRUE(w.d.At(third).changes.empty()) << "nothing started";
  EXPECT_EQ(changer.SetTopmost(third, true), Outcome::kDone) << "no worker needed";

  w.d.At(w.top).hung = false;
  for (int i = 0; i < 500 && workers.Waiting() > 1; ++i) {
    w.d.Drain(w.top);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(workers.Waiting(), 1u);
  w.d.Drain(w.top);
  const auto style = [](std::uint32_t value) {
    return LoggedMessage{msg::kStyleChanged, static_cast<std::uintptr_t>(kGwlStyle), value};
  };
  const auto ex_style = [](std::uint32_t value) {
    return LoggedMessage{msg::kStyleChanged, static_cast<std::uintptr_t>(kGwlExStyle), value};
  };
  EXPECT_EQ(w.d.Handled(w.top), (std::vector<LoggedMessage>{style(kOverlapped | kWsHScroll), ex_style(kWsExToolWindow),
                                                             style(kOverlapped), ex_style(kWsExTopMost)}));
  EXPECT_EQ(changer.SetEnabled(third, false), Outcome::kDone);
  // The desktop going releases the worker still blocked on `other`.
}

// Vexlan's own windows are never changed, and what names no window is
// never asked.
TEST(WindowChanger, RefusesVexlansOwnWindowsAndWhatIsNoWindow) {
  struct Target {
    const char* name;
    std::function<WindowHandle(Windows&)> make;
    Outcome outcome;
  };
  const Target targets[] = {
      {"a window of our own thread",
       [](Windows& w) {
         w.d.At(w.top).own_thread = true;
         return w.top;
       },
       Outcome::kOwnWindow},
      {"a window of another of our threads",
       [](Windows& w) {
         w.d.At(w.top).process_id = FakeDesktop::kOwnProcess;
         return w.top;
       },
       Outcome::kOwnWindow},
      {"a window gone",
       [](Windows& w) {
         w.d.Destroy(w.child);
         return w.child;
       },
       Outcome::kNoWindow},
      {"HWND_BROADCAST", [](Windows&) { return kHwndBroadcast; }, Outcome::kNoWindow},
  };
  for (const Target& t : targets) {
    SCOPED_TRACE(t.name);
    for (const Row& row : kRows) {
      SCOPED_TRACE(row.name);
      Windows w;
      ChangeWorkers workers;
      WindowChanger changer = w.Changer(workers);
      const WindowHandle target = t.make(w);
      EXPECT_EQ(row.change(changer, target), t.outcome);
      if (w.d.Exists(target)) {
        EXPECT_TRUE(w.d.At(target).changes.empty() && w.d.At(target).positioned.empty());
      }
      EXPECT_EQ(workers.Waiting(), 0u);
    }
  }
}

}  // namespace
}  // namespace vexlan
