#include "winutil/ExtCntrlsUtils.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "platform/utf.h"
#include "tests/support/fake_desktop.h"

namespace vexlan {
namespace {

using testing::FakeDesktop;
using testing::LoggedMessage;

class WindowQueries : public ::testing::Test {
 protected:
  FakeDesktop desktop;
};

TEST_F(WindowQueries, LongCaptionIsCutForTheCaptionButNotForTheControlText) {
  const std::string caption(250, 'x');
  const WindowHandle w = desktop.Add(0, caption, "Static");
  EXPECT_EQ(GetWindowCaption(desktop, w), std::string(200, 'x'));
  EXPECT_EQ(GetControlText(desktop, w), caption);
}

TEST_F(WindowQueries, LongClassNameIsCutAt200) {
  const WindowHandle w = desktop.Add(0, "", std::string(230, 'C'));
  EXPECT_EQ(GetWindowClass(desktop, w), std::string(200, 'C'));
}

TEST_F(WindowQueries, ControlTextIsTheContentNotTheCaption) {
  const WindowHandle edit = desktop.Add(0, "caption", "Edit");
  desktop.SetText(edit, "typed content");
  EXPECT_EQ(GetControlText(desktop, edit), "typed content");
  EXPECT_EQ(GetWindowCaption(desktop, edit), "caption");
}

TEST_F(WindowQueries, ControlTextSendsLengthThenTextWithRoomForTheZero) {
  const WindowHandle w = desktop.Add(0, "abc", "Edit");
  GetControlText(desktop, w);
  const auto& log = desktop.At(w).received;
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], (LoggedMessage{msg::kGetTextLength, 0, 0}));
  EXPECT_EQ(log[1].message, msg::kGetText);
  EXPECT_EQ(log[1].wparam, 4u);
}

TEST_F(WindowQueries, EmptyTextSendsGetTextWithBufferOfOne) {
  const WindowHandle w = desktop.Add(0, "", "Edit");
  EXPECT_EQ(GetControlText(desktop, w), "");
  const auto& log = desktop.At(w).received;
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].message, msg::kGetText);
  EXPECT_EQ(log[1].wparam, 1u);
}

// A window's reported length is only its word: whatever it says, the result
// is what WM_GETTEXT really copied and the buffer stays bounded.
TEST_F(WindowQueries, LyingLengthsAreBoundedAndCutAtTheCopiedText) {
  struct Case {
    const char* name;
    std::intptr_t reported;
    std::string expected;
    std::uintptr_t max_buffer;
  };
  const Case cases[] = {
      {"negative", -5, "", 1},
      {"minimum", std::numeric_limits<std::intptr_t>::min(), "", 1},
      {"larger than the text", 40, "hello", 41},
      {"huge", std::numeric_limits<std::intptr_t>::max(), "hello", kControlTextLimit + 1},
      {"4 GiB", std::intptr_t{1} << 32, "hello", kControlTextLimit + 1},
      {"shorter than the text", 3, "hel", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDesktop d;
    const WindowHandle w = d.Add(0, "hello", "Edit");
    d.At(w).reported_length = c.reported;
    EXPECT_EQ(GetControlText(d, w), c.expected);
    const auto& log = d.At(w).received;
    ASSERT_EQ(log.size(), 2u);
    EXPECT_LE(log[1].wparam, c.max_buffer);
    EXPECT_GE(log[1].wparam, 1u);
  }
}

// Nor is WM_GETTEXT's answer trusted: whatever it copies and whatever count
// it returns, the text ends at the first zero within the length asked for.
TEST_F(WindowQueries, WhatGetTextReallyCopiedIsTheTextWhateverItCounts) {
  struct Case {
    const char* name;
    std::optional<std::size_t> copies;
    std::intptr_t count;
    std::string expected;
  };
  const Case cases[] = {
      {"fewer units than the length", 2, 5, "he"},
      {"nothing at all", 0, 5, ""},
      {"the whole buffer, no zero", 9, 5, "hello"},
      {"an honest copy counted as huge", std::nullopt, std::numeric_limits<std::intptr_t>::max(), "hello"},
      {"an honest copy counted as negative", std::nullopt, -1, "hello"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDesktop d;
    const WindowHandle w = d.Add(0, "hello", "Edit");
    d.At(w).copies = c.copies;
    d.At(w).reported_copied = c.count;
    EXPECT_EQ(GetControlText(d, w), c.expected);
  }
}

TEST_F(WindowQueries, SetControlTextReplacesTheTextAsUtf16) {
  const WindowHandle w = desktop.Add(0, "old", "Edit");
  SetControlText(desktop, w, "Grüße 東京 🙂");
  EXPECT_EQ(desktop.At(w).text, u"Grüße 東京 🙂");
  ASSERT_EQ(desktop.At(w).received.size(), 1u);
  EXPECT_EQ(desktop.At(w).received[0].message, msg::kSetText);
  EXPECT_EQ(desktop.At(w).received[0].wparam, 0u);
  EXPECT_EQ(GetControlText(desktop, w), "Grüße 東京 🙂");
}

// A long text takes a healthy program longer: its messages get more time,
// the length query and short texts the usual time-out.
TEST_F(WindowQueries, LongTextsGetMoreTimeThanShortOnes) {
  struct Case {
    std::size_t units;
    unsigned text_timeout_ms;
  };
  const Case cases[] = {{0, kSendTimeoutMs}, {99, kSendTimeoutMs}, {250000, 3500}, {1000000, kRoutineCeilingMs}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.units);
    const WindowHandle w = desktop.Add(0, "", "Edit");
    SetControlText(desktop, w, std::string(c.units, 'x'));
    GetControlText(desktop, w, desktop.clock);
    EXPECT_EQ(desktop.At(w).timeouts_ms,
              (std::vector<unsigned>{c.text_timeout_ms, kSendTimeoutMs, c.text_timeout_ms}));
  }
}

TEST_F(WindowQueries, NonAsciiCaptionsAndClassesComeBackAsUtf8) {
  const WindowHandle w = desktop.Add(0, "Café – 日本語 🎉", "Klasse_ä");
  EXPECT_EQ(GetWindowCaption(desktop, w), "Café – 日本語 🎉");
  EXPECT_EQ(GetWindowClass(desktop, w), "Klasse_ä");
}

TEST_F(WindowQueries, CutAt200NeverLeavesHalfASurrogatePair) {
  // 199 letters then an emoji: its two units straddle the 200-unit limit.
  const std::string caption = std::string(199, 'a') + "😀" + "tail";
  const WindowHandle w = desktop.Add(0, caption, "Static");
  EXPECT_EQ(GetWindowCaption(desktop, w), std::string(199, 'a'));
  desktop.At(w).reported_length = 200;
  EXPECT_EQ(GetControlText(desktop, w), std::string(199, 'a'));
}

TEST_F(WindowQueries, LoneSurrogateInAShortCaptionShowsAsReplacement) {
  const WindowHandle w = desktop.Add(0, "", "Static");
  desktop.At(w).caption = u"abc\xD800";
  EXPECT_EQ(GetWindowCaption(desktop, w), "abc\xEF\xBF\xBD");
}

TEST_F(WindowQueries, SiblingAndChildNavigation) {
  const WindowHandle a = desktop.Add(0, "a", "C");
  const WindowHandle b = desktop.Add(0, "b", "C");
  const WindowHandle child = desktop.Add(a, "child", "C");
  EXPECT_EQ(GetNextSibling(desktop, a), b);
  EXPECT_EQ(GetNextSibling(desktop, b), 0);
  EXPECT_EQ(GetFirstChild(desktop, a), child);
  EXPECT_EQ(GetFirstChild(desktop, b), 0);
  EXPECT_EQ(GetNextSibling(desktop, child), 0);
}

TEST_F(WindowQueries, VanishedWindowGivesEmptyResults) {
  const WindowHandle w = desktop.Add(0, "gone", "C");
  desktop.Destroy(w);
  EXPECT_EQ(GetControlText(desktop, w), "");
  EXPECT_EQ(GetWindowCaption(desktop, w), "");
  EXPECT_EQ(GetWindowClass(desktop, w), "");
  EXPECT_EQ(GetNextSibling(desktop, w), 0);
  EXPECT_EQ(GetFirstChild(desktop, w), 0);
}

// Every routine says what became of it, the same way for every action: a
// time-out is told, not shown as an empty text; nothing is sent or posted
// to a handle that names no window (a window the fake has at 0xFFFF stands
// for what HWND_BROADCAST would reach).
TEST(EveryRoutine, SaysWhatBecameOfIt) {
  using O = Outcome;
  constexpr std::uint32_t kHigh = 0x3000;
  struct Case {
    const char* name;
    std::function<void(FakeDesktop&, WindowHandle)> setup;
    Outcome read, write, click, hide, close;
    WindowHandle handle = 0;
  };
  const Case cases[] = {
      {"answers", [](FakeDesktop&, WindowHandle) {}, O::kDone, O::kDone, O::kDone, O::kDone, O::kDone},
      {"hung", [](FakeDesktop& d, WindowHandle w) { d.At(w).hung = true; }, O::kNotAnswered, O::kNotAnswered,
       O::kNotAnswered, O::kDone, O::kDone},
      {"gone", [](FakeDesktop& d, WindowHandle w) { d.Destroy(w); }, O::kNoWindow, O::kNoWindow, O::kNoWindow,
       O::kNoWindow, O::kNoWindow},
      {"a program of higher rights",
       [=](FakeDesktop& d, WindowHandle) { d.processes[FakeDesktop::kOtherProcess].rights.integrity = kHigh; },
       O::kRefusedHigherRights, O::kRefusedHigherRights, O::kRefusedHigherRights, O::kDone,
       O::kRefusedHigherRights},
      {"a program of higher rights whose token we cannot read",
       [=](FakeDesktop& d, WindowHandle) {
         d.processes[FakeDesktop::kOtherProcess] = {std::nullopt, {kHigh, true}, false};
       },
       O::kRefused, O::kRefused, O::kRefused, O::kDone, O::kRefused},
      {"its thread ends while we wait (refused, under Wine)",
       [](FakeDesktop& d, WindowHandle w) {
         d.Stall(w, 300);
         d.At(w).exits_at_ms = 300;
       },
       O::kNoWindow, O::kNoWindow, O::kNoWindow, O::kDone, O::kDone},
      {"answers WM_SETTEXT with FALSE", [](FakeDesktop& d, WindowHandle w) { d.At(w).refuses_text = true; },
       O::kDone, O::kNotTaken, O::kDone, O::kDone, O::kDone},
      {"another thread of ours", [](FakeDesktop& d, WindowHandle w) { d.At(w).process_id = FakeDesktop::kOwnProcess; },
       O::kDone, O::kDone, O::kDone, O::kOwnWindow, O::kDone},
      {"HWND_BROADCAST", [](FakeDesktop&, WindowHandle) {}, O::kNoWindow, O::kNoWindow, O::kNoWindow, O::kNoWindow,
       O::kNoWindow, kHwndBroadcast},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::pair<const char*, std::function<Outcome(FakeDesktop&, WindowHandle)>> routines[] = {
        {"read", [](FakeDesktop& d, WindowHandle w) { return ReadControlText(d, w, d.clock).outcome; }},
        {"write", [](FakeDesktop& d, WindowHandle w) { return SetControlText(d, w, "new"); }},
        {"click", [](FakeDesktop& d, WindowHandle w) { return SendLeftClick(d, d, w); }},
        {"hide", [](FakeDesktop& d, WindowHandle w) { return ShowOrHideWindow(d, d, w, false); }},
        {"close", [](FakeDesktop& d, WindowHandle w) { return CloseWindow(d, d, w); }},
    };
    const Outcome expected[] = {c.read, c.write, c.click, c.hide, c.close};
    for (std::size_t i = 0; i < std::size(routines); ++i) {
      SCOPED_TRACE(routines[i].first);
      FakeDesktop d;
      const WindowHandle w = d.Add(0, "old", "Edit", true, c.handle);
      c.setup(d, w);
      EXPECT_EQ(routines[i].second(d, w), expected[i]);
      EXPECT_TRUE(expected[i] != O::kNoWindow || !d.Exists(w) ||
                  (d.At(w).attempted.empty() && d.At(w).posted.empty() && d.At(w).positioned.empty()));
    }
  }
}

// One deadline per routine: whatever the first message took, the second gets
// only what is left of the routine's time, and is not sent when none is.
// The fake clock moves by as long as the window takes to answer.
TEST_F(WindowQueries, GetControlTextWaitsAtMostItsOneDeadline) {
  constexpr unsigned kNever = FakeDesktop::kNeverAnswers;
  const std::string long_text(100000, 'L');
  const unsigned long_ms = TextSendTimeoutMs(long_text.size());
  ASSERT_GT(long_ms, kSendTimeoutMs);
  constexpr std::intptr_t kHuge = std::numeric_limits<std::int32_t>::max();
  struct Case {
    const char* name;
    std::string text;
    std::vector<unsigned> answer_ms;
    std::vector<unsigned> timeouts_ms;  // one per message sent
    std::string expected;
    std::int64_t took_ms;
    std::optional<std::intptr_t> claims = std::nullopt;
  };
  const Case cases[] = {
      {"both at once", "abc", {}, {1000, 1000}, "abc", 0},
      {"a slow length", "abc", {400}, {1000, 600}, "abc", 400},
      {"slow length, then text too slow for what is left", "abc", {400, 700}, {1000, 600}, "", 1000},
      {"the length takes all the time", "abc", {1000}, {1000}, "", 1000},
      {"no answer to the length", "abc", {kNever}, {1000}, "", 1000},
      {"answers the length, then hangs", "abc", {250, kNever}, {1000, 750}, "", 1000},
      {"a long text's allowance counts from the start", long_text, {900}, {1000, long_ms - 900}, long_text, 900},
      {"a long text that hangs after its length", long_text, {900, kNever}, {1000, long_ms - 900}, "", long_ms},
      {"claims 2^31-1 units, then hangs", "abc", {0, kNever}, {1000, kRoutineCeilingMs}, "", kRoutineCeilingMs, kHuge},
      {"claims 2^31-1 units slowly, then hangs", "abc", {999, kNever}, {1000, kRoutineCeilingMs - 999}, "",
       kRoutineCeilingMs, kHuge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDesktop d;
    const WindowHandle w = d.Add(0, "", "Edit");
    d.At(w).text = Utf8ToUtf16(c.text);
    d.At(w).answer_ms = c.answer_ms;
    d.At(w).reported_length = c.claims;
    EXPECT_EQ(GetControlText(d, w, d.clock), c.expected);
    EXPECT_EQ(d.At(w).timeouts_ms, c.timeouts_ms);
    EXPECT_EQ(d.clock.now_ms, c.took_ms);
  }
}

// Press and release, posted: whatever the window does it gets both, in
// order, or nothing; the caller waits at most one time-out to learn whether
// its thread answers, and never runs our own thread's window inside itself.
TEST(Clicks, ArriveWholeOrNotAtAllAndTellAWindowThatDoesNotAnswer) {
  const LoggedMessage ldown{msg::kLButtonDown, kMkLButton, 0}, lup{msg::kLButtonUp, kMkLButton, 0};
  const LoggedMessage rdown{msg::kRButtonDown, kMkRButton, 0}, rup{msg::kRButtonUp, kMkRButton, 0};
  using Log = std::vector<LoggedMessage>;
  struct Case {
    const char* name;
    std::function<void(FakeDesktop&, WindowHandle)> setup;
    bool right;
    Outcome outcome;
    std::int64_t took_ms;
    Log handled;  // once every thread has taken its queue
  };
  const Case cases[] = {
      {"answers at once", [](FakeDesktop&, WindowHandle) {}, false, Outcome::kDone, 0, {ldown, lup}},
      {"the right button", [](FakeDesktop&, WindowHandle) {}, true, Outcome::kDone, 0, {rdown, rup}},
      {"takes no message for 3 s", [](FakeDesktop& d, WindowHandle w) { d.Stall(w, 3000); }, false,
       Outcome::kNotAnswered, 1000, {ldown, lup}},
      {"hung", [](FakeDesktop& d, WindowHandle w) { d.At(w).hung = true; }, false, Outcome::kNotAnswered, 0, {}},
      {"tracks the mouse in its press handler for 2.5 s",
       [](FakeDesktop& d, WindowHandle w) { d.At(w).slow_ms[msg::kLButtonDown] = 2500; }, false,
       Outcome::kNotAnswered, 1000, {ldown, lup}},
      {"our own thread's window", [](FakeDesktop& d, WindowHandle w) { d.At(w).own_thread = true; }, true,
       Outcome::kDone, 0, {rdown, rup}},
      {"a program of higher rights",
       [](FakeDesktop& d, WindowHandle) { d.processes[FakeDesktop::kOtherProcess].rights.integrity = 0x3000; },
       false, Outcome::kRefusedHigherRights, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDesktop d;
    const WindowHandle w = d.Add(0, "OK", "Button");
    c.setup(d, w);
    EXPECT_EQ(c.right ? SendRightClick(d, d, w) : SendLeftClick(d, d, w), c.outcome);
    EXPECT_EQ(d.clock.now_ms, c.took_ms);
    EXPECT_TRUE(!d.At(w).own_thread || (d.Handled(w).empty() && d.At(w).attempted.empty())) << "ran inside us";
    if (!d.At(w).hung) d.Drain(w);
    Log clicks = d.Handled(w);
    std::erase_if(clicks, [](const LoggedMessage& m) { return m.message == msg::kNull; });  // the probe
    EXPECT_EQ(clicks, c.handled);
    EXPECT_TRUE(!d.At(w).hung || d.At(w).posted == (Log{ldown, lup})) << "queued for when it answers";
  }
}

// In place, never on top, never waiting on the window's thread; nothing is
// asked of the window first.
TEST(ShowAndHide, AreHandedToTheWindowsThread) {
  for (const bool show : {true, false}) {
    SCOPED_TRACE(show ? "show" : "hide");
    FakeDesktop d;
    const WindowHandle w = d.Add(0, "target", "Frame", !show);
    d.At(w).hung = true;
    EXPECT_EQ(ShowOrHideWindow(d, d, w, show), Outcome::kDone);
    EXPECT_EQ(d.At(w).positioned, (std::vector<testing::LoggedWindowPos>{{-2, show ? 0x4043u : 0x4083u}}));
    EXPECT_TRUE(d.At(w).attempted.empty());
  }
}

}  // namespace
}  // namespace vexlan
