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

constexpr std::uint32_t kOverlapped = 0x10CF0000;  // WS_OVERLAPPEDWINDOW | WS_VISIBLE
constexpr std::uint32_t kWsHScroll = 0x00100000, kWsExToolWindow = 0x00000080;

// A top-level window at 40, 40, and a child at 4, 4 of its client area,
// which begins 8, 30 inside it.
struct Windows {
  FakeDesktop d;
  WindowHandle top = d.Add(0, "Target", "VexlanTarget");
  WindowHandle child = d.Add(top, "Child", "Button");
  Windows() {
    d.At(top).facts.style = kOverlapped;
    d.At(top).facts.rect = d.At(top).facts.placement = {40, 40, 240, 140};
    d.At(child).facts.style = kWsChild;
    d.At(child).facts.rect = {52, 74, 152, 94};
    d.At(child).facts.placement = {4, 4, 104, 24};
  }
};

// Until the workers have at most `left` changes waiting, or a generous while.
bool Settled(ChangeWorkers& workers, FakeDesktop& d, WindowHandle wnd, std::size_t left = 0) {
  for (int i = 0; i < 500 && workers.Waiting() > left; ++i) {
    d.Drain(wnd);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  d.Drain(wnd);
  return workers.Waiting() == left;
}

struct Row {
  const char* name;
  bool child;
  std::function<Outcome(WindowChanger&, WindowHandle)> change;
  unsigned on_worker;  // calls made on a worker thread
  unsigned placed;     // SetWindowPos calls, each asynchronous
  std::function<bool(FakeDesktop&, WindowHandle)> took;
  Outcome unanswered;  // on a window whose thread does not answer
};

const Row kRows[] = {
    {"disable", false, [](WindowChanger& c, WindowHandle w) { return c.SetEnabled(w, false); }, 1, 0,
     [](FakeDesktop& d, WindowHandle w) { return !d.Record(w)->enabled; }, Outcome::kNotAnswered},
    {"always on top", false, [](WindowChanger& c, WindowHandle w) { return c.SetTopmost(w, true); }, 0, 1,
     [](FakeDesktop& d, WindowHandle w) { return (d.Record(w)->ex_style & kWsExTopMost) != 0; }, Outcome::kDone},
    // Handed to the window's thread, as under Wine, but on a worker all the
    // same: Windows does not say whether it waits.
    {"to the front", false, [](WindowChanger& c, WindowHandle w) { return c.BringToFront(w); }, 1, 0,
     [](FakeDesktop& d, WindowHandle w) { return d.foreground == w; }, Outcome::kDone},
    {"a child to the top of its siblings", true, [](WindowChanger& c, WindowHandle w) { return c.BringToFront(w); },
     0, 1, [](FakeDesktop& d, WindowHandle w) { return d.At(w).positioned.at(0).insert_after == kHwndTop; },
     Outcome::kDone},
    {"move and size a child, in its parent's client area", true,
     [](WindowChanger& c, WindowHandle w) { return c.MoveAndSize(w, {10, 12, 50, 30}); }, 0, 1,
     [](FakeDesktop& d, WindowHandle w) { return d.Record(w)->rect == WindowRect{58, 82, 108, 112}; },
     Outcome::kDone},
    {"both styles, then the frame", false,
     [](WindowChanger& c, WindowHandle w) { return c.SetStyles(w, kOverlapped | kWsHScroll, kWsExToolWindow); }, 2, 1,
     [](FakeDesktop& d, WindowHandle w) { return d.Record(w)->style == (kOverlapped | kWsHScroll); },
     Outcome::kNotAnswered},
};

// Every change goes to the window's thread with SWP_ASYNCWINDOWPOS or is
// made on a worker thread, never on the caller's. On a window that does not
// answer the caller waits at most the time-out, is told when the change
// waits for the window, and the change arrives once it answers.
TEST(WindowChanger, NeverWaitsOnTheWindowPastTheTimeOut) {
  for (const Row& row : kRows) {
    for (const bool answers : {true, false}) {
      SCOPED_TRACE(std::string(row.name) + (answers ? "" : ", not answering"));
      Windows w;
      ChangeWorkers workers;
      WindowChanger changer(w.d, w.d, w.d, workers);
      const WindowHandle target = row.child ? w.child : w.top;
      w.d.At(target).hung = !answers;
      const auto start = std::chrono::steady_clock::now();
      EXPECT_EQ(row.change(changer, target), answers ? Outcome::kDone : row.unanswered);
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3 * kSendTimeoutMs));
      EXPECT_TRUE(answers || row.unanswered == Outcome::kDone || !row.took(w.d, target)) << "not before it answers";
      w.d.At(target).hung = false;
      ASSERT_TRUE(Settled(workers, w.d, target));
      EXPECT_TRUE(row.took(w.d, target));
      const FakeDesktop::Window& fake = w.d.At(target);
      EXPECT_EQ(fake.changes.size(), row.on_worker);
      for (const testing::LoggedCall& call : fake.changes) EXPECT_NE(call.thread, std::this_thread::get_id());
      EXPECT_EQ(fake.positioned.size(), row.placed);
      for (const testing::LoggedWindowPos& p : fake.positioned) EXPECT_NE(p.flags & kSwpAsyncWindowPos, 0u);
    }
  }
}

// At most the limit wait; past it nothing starts. A window's changes keep
// their order however long it takes to answer, even changes of two steps,
// each compared with the window as the earlier ones left it.
TEST(ChangeWorkers, HoldTheLimitAndKeepEachWindowsOrder) {
  Windows w;
  const WindowHandle other = w.d.Add(0, "Other", "VexlanTarget"), third = w.d.Add(0, "Third", "VexlanTarget");
  ChangeWorkers workers(50, 3);
  WindowChanger changer(w.d, w.d, w.d, workers);
  w.d.At(w.top).hung = w.d.At(other).hung = true;
  EXPECT_EQ(changer.SetStyles(w.top, kOverlapped | kWsHScroll, kWsExToolWindow), Outcome::kNotAnswered);
  EXPECT_EQ(changer.SetStyles(w.top, kOverlapped, kWsExTopMost), Outcome::kNotAnswered);
  EXPECT_EQ(changer.SetEnabled(other, false), Outcome::kNotAnswered);
  EXPECT_EQ(changer.SetEnabled(third, false), Outcome::kStillWaiting);
  EXPECT_TRUE(w.d.At(third).changes.empty()) << "nothing started";
  EXPECT_EQ(changer.SetTopmost(third, true), Outcome::kDone) << "no worker needed";

  w.d.At(w.top).hung = false;
  ASSERT_TRUE(Settled(workers, w.d, w.top, 1));
  const auto set = [](int index, std::uint32_t value) {
    return LoggedMessage{msg::kStyleChanged, static_cast<std::uintptr_t>(index), value};
  };
  EXPECT_EQ(w.d.Handled(w.top), (std::vector<LoggedMessage>{set(kGwlStyle, kOverlapped | kWsHScroll),
                                                             set(kGwlExStyle, kWsExToolWindow),
                                                             set(kGwlStyle, kOverlapped), set(kGwlExStyle, kWsExTopMost)}));
  EXPECT_EQ(changer.SetEnabled(third, false), Outcome::kDone);
  // The desktop going releases the worker still blocked on `other`.
}

// Vexlan's own windows are never changed, and what names no window is
// never asked.
TEST(WindowChanger, RefusesVexlansOwnWindowsAndWhatIsNoWindow) {
  const std::function<WindowHandle(Windows&)> targets[] = {
      [](Windows& w) { return (w.d.At(w.top).own_thread = true), w.top; },
      [](Windows& w) { return (w.d.At(w.top).process_id = FakeDesktop::kOwnProcess), w.top; },  // another thread
      [](Windows& w) { return w.d.Destroy(w.child), w.child; },
      [](Windows&) { return kHwndBroadcast; },
  };
  for (const auto& make : targets) {
    for (const Row& row : kRows) {
      SCOPED_TRACE(row.name);
      Windows w;
      ChangeWorkers workers;
      WindowChanger changer(w.d, w.d, w.d, workers);
      const WindowHandle target = make(w);
      EXPECT_EQ(row.change(changer, target), w.d.Exists(target) ? Outcome::kOwnWindow : Outcome::kNoWindow);
      EXPECT_TRUE(!w.d.Exists(target) || (w.d.At(target).changes.empty() && w.d.At(target).positioned.empty()));
    }
  }
}

}  // namespace
}  // namespace vexlan
