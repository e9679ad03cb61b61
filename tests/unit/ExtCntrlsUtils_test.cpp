#include "winutil/ExtCntrlsUtils.h"

#include <gtest/gtest.h>

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

TEST_F(WindowQueries, ClicksArePressThenReleaseWithTheirButtonAndPointZero) {
  const WindowHandle w = desktop.Add(0, "OK", "Button");
  SendLeftClick(desktop, desktop, w);
  SendRightClick(desktop, desktop, w);
  EXPECT_EQ(desktop.At(w).received, (std::vector<LoggedMessage>{{msg::kLButtonDown, 1, 0}, {msg::kRButtonDown, 2, 0}}));
  EXPECT_EQ(desktop.At(w).notified, (std::vector<LoggedMessage>{{msg::kLButtonUp, 1, 0}, {msg::kRButtonUp, 2, 0}}));
  EXPECT_TRUE(desktop.At(w).posted.empty());
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

TEST_F(WindowQueries, VanishedWindowGivesEmptyResultsAndNoEffect) {
  const WindowHandle w = desktop.Add(0, "gone", "C");
  desktop.Destroy(w);
  EXPECT_EQ(GetControlText(desktop, w), "");
  EXPECT_EQ(GetWindowCaption(desktop, w), "");
  EXPECT_EQ(GetWindowClass(desktop, w), "");
  EXPECT_EQ(GetNextSibling(desktop, w), 0);
  EXPECT_EQ(GetFirstChild(desktop, w), 0);
  SetControlText(desktop, w, "x");
  SendLeftClick(desktop, desktop, w);
  SendRightClick(desktop, desktop, w);
  EXPECT_FALSE(desktop.Exists(w));
}

// A time-out is told, not an empty text; a write handled late still happened.
TEST_F(WindowQueries, ReadsAndWritesTellWhetherTheWindowAnswered) {
  constexpr unsigned kNever = FakeDesktop::kNeverAnswers;
  struct Case {
    const char* name;
    bool destroyed;
    std::vector<unsigned> answer_ms, handle_ms;  // for the write, then the read's two messages
    SendOutcome write, read;
    std::string text_after;
  };
  const Case cases[] = {
      {"answers", false, {}, {}, SendOutcome::kAnswered, SendOutcome::kAnswered, "new"},
      {"hung", false, {kNever}, {}, SendOutcome::kNotAnswered, SendOutcome::kNotAnswered, "old"},
      {"takes the write too late", false, {1500}, {}, SendOutcome::kNotAnswered, SendOutcome::kAnswered, "old"},
      {"handles the write past the time-out", false, {}, {1500}, SendOutcome::kNotAnswered, SendOutcome::kAnswered,
       "new"},
      {"answers the length, not the text", false, {0, 0, 1500}, {}, SendOutcome::kAnswered,
       SendOutcome::kNotAnswered, "new"},
      {"gone", true, {}, {}, SendOutcome::kNoWindow, SendOutcome::kNoWindow, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDesktop d;
    const WindowHandle w = d.Add(0, "old", "Edit");
    d.At(w).answer_ms = c.answer_ms;
    d.At(w).handle_ms = c.handle_ms;
    if (c.destroyed) d.Destroy(w);
    EXPECT_EQ(SetControlText(d, w, "new"), c.write);
    const ControlText read = ReadControlText(d, w, d.clock);
    EXPECT_EQ(read.outcome, c.read);
    EXPECT_EQ(read.text, c.read == SendOutcome::kAnswered ? c.text_after : "");
    EXPECT_EQ(d.Exists(w) ? d.TextOf(w) : "", c.text_after);
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

// One press and one release whatever the window does; our own thread's
// window runs nothing inside the caller.
TEST_F(WindowQueries, AClickDeliversOneReleaseAndWaitsAtMostOneTimeOut) {
  constexpr unsigned kNever = FakeDesktop::kNeverAnswers;
  const LoggedMessage down{msg::kRButtonDown, kMkRButton, 0}, up{msg::kRButtonUp, kMkRButton, 0};
  using Log = std::vector<LoggedMessage>;
  struct Case {
    const char* name;
    std::vector<unsigned> answer_ms, handle_ms;
    bool own_thread;
    Log received, notified, posted;
    std::int64_t took_ms;
  };
  const Case cases[] = {
      {"answered at once", {}, {}, false, {down}, {up}, {}, 0},
      {"a slow press", {300}, {}, false, {down}, {up}, {}, 300},
      {"a release handled for seconds", {}, {0, 2500}, false, {down}, {up}, {}, 0},
      {"the press taken too late is withdrawn", {1500}, {}, false, {}, {}, {up}, 1000},
      {"no answer to the press", {kNever}, {}, false, {}, {}, {up}, 1000},
      {"the press handled past the time-out (a tracking loop)", {}, {1500}, false, {down}, {}, {up}, 1000},
      {"our own thread's window", {}, {}, true, {}, {}, {down, up}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDesktop d;
    const WindowHandle w = d.Add(0, "OK", "Button");
    d.At(w).answer_ms = c.answer_ms;
    d.At(w).handle_ms = c.handle_ms;
    d.At(w).own_thread = c.own_thread;
    SendRightClick(d, d, w);
    EXPECT_EQ(d.At(w).received, c.received);
    EXPECT_EQ(d.At(w).notified, c.notified);
    EXPECT_EQ(d.At(w).posted, c.posted);
    EXPECT_EQ(d.clock.now_ms, c.took_ms);
  }
}

// In place, never on top, and never waiting on another thread.
TEST_F(WindowQueries, ShowAndHideAreAsynchronousOnAnotherThreadsWindow) {
  struct Case {
    bool show, own_thread, hung;
    unsigned flags;
  };
  const Case cases[] = {
      {true, false, false, 0x4043}, {false, false, false, 0x4083}, {false, false, true, 0x4083},
      {true, true, false, 0x0043},  {false, true, false, 0x0083},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    FakeDesktop d;
    const WindowHandle w = d.Add(0, "target", "Frame", !c.show);
    d.At(w).own_thread = c.own_thread;
    d.At(w).hung = c.hung;
    ShowOrHideWindow(d, d, w, c.show);
    EXPECT_EQ(d.At(w).positioned, (std::vector<testing::LoggedWindowPos>{{-2, c.flags}}));
    EXPECT_TRUE(d.At(w).attempted.empty()) << "nothing is asked of the window first";
  }
}

}  // namespace
}  // namespace vexlan
