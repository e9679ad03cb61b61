// The window-query routines and the user32 window services against windows of
// another process: the fixture program, which creates what each test asks for.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/utf.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_window_services.h"
#include "tests/win32/support/fixture_process.h"
#include "winutil/ExtCntrlsUtils.h"

namespace vexlan {
namespace {

using testing::BulkWindows;
using testing::FixtureError;
using testing::FixtureProcess;
using testing::ParseRecordedMessage;
using testing::RecordedMessage;

WindowServices& Ws() { return SystemWindowServices(); }
MessagePosting& Posting() { return SystemPlatform().Posting(); }

// What the system stores as the caption, read without sending a message: the
// yardstick for GetWindowCaption.
std::string StoredCaption(HWND hwnd) {
  wchar_t buffer[1024] = {};
  const int n = InternalGetWindowText(hwnd, buffer, 1024);
  return Utf16ToUtf8(std::u16string(buffer, buffer + std::max(n, 0)));
}

// The windows below `first` in Z order, `first` included; stops at 0, and at
// `limit` windows so that a broken walk cannot loop forever.
std::vector<WindowHandle> SiblingsFrom(WindowHandle first, std::size_t limit = 1000) {
  std::vector<WindowHandle> walked;
  for (WindowHandle w = first; w != 0 && walked.size() < limit; w = GetNextSibling(Ws(), w)) walked.push_back(w);
  return walked;
}

struct TextCase {
  const char* name;
  std::string text;
};

const std::vector<TextCase>& NonAsciiTexts() {
  static const std::vector<TextCase> cases = {
      {"accented Latin", "Café crème, Grüße, Ñandú, Øre"},
      {"CJK", "日本語のウィンドウ 東京 한국어 中文"},
      {"emoji outside the BMP", "Party 🎉 time 🙂👍🏽"},
      {"Greek, Cyrillic, Hebrew", "Ελληνικά – русский – עברית"},
  };
  return cases;
}

// ---------------------------------------------------------------------------
// Texts

// Whatever changes an edit control's content, GetControlText sees the content
// and GetWindowCaption only what the system stores as the caption (under Wine
// nothing at all for an edit control).
TEST(FixtureWindowText, EditContentComesByMessageAndTheCaptionFromTheSystem) {
  FixtureProcess fixture({"top|form|VexlanForm|Form", "edit|memo|form|first words"});
  const WindowHandle memo = fixture.Id("memo");
  EXPECT_EQ(GetControlText(Ws(), memo), "first words");
  EXPECT_EQ(GetWindowCaption(Ws(), memo), StoredCaption(fixture.Handle("memo")));

  struct Case {
    const char* how;
    std::function<void()> change;
    std::string content;
    // Typing never touches the stored caption; WM_SETTEXT might, depending on
    // the control's implementation.
    bool caption_differs;
  };
  const Case cases[] = {
      {"typed in its own process", [&] { fixture.Command("type|memo|typed content"); }, "typed content", true},
      {"WM_SETTEXT in its own process", [&] { fixture.Command("caption|memo|set by its owner"); }, "set by its owner",
       false},
      {"SetControlText from here", [&] { SetControlText(Ws(), memo, "set from outside"); }, "set from outside", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    c.change();
    EXPECT_EQ(GetControlText(Ws(), memo), c.content);
    EXPECT_EQ(GetWindowCaption(Ws(), memo), StoredCaption(fixture.Handle("memo")));
    if (c.caption_differs) {
      EXPECT_NE(GetWindowCaption(Ws(), memo), c.content);
    }
  }
}

TEST(FixtureWindowText, MultiLineEditContentKeepsItsLineBreaks) {
  const std::string content = "line one\r\nline two\r\n\tindented 東京\r\n";
  FixtureProcess fixture({"top|form|VexlanForm|Form", "edit|memo|form|" + content});
  EXPECT_EQ(GetControlText(Ws(), fixture.Id("memo")), content);
}

// Commands on the command line reach the fixture as UTF-16, those sent later
// as UTF-8 lines: both ways must give the same windows.
TEST(FixtureWindowText, NonAsciiCaptionsAndContentsComeBackAsUtf8) {
  const auto& cases = NonAsciiTexts();
  std::vector<std::string> commands = {"top|form|VexlanForm|Form"};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    commands.push_back("top|arg" + std::to_string(i) + "|VexlanText|" + cases[i].text);
  }
  FixtureProcess fixture(commands);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    fixture.Command("top|line" + std::to_string(i) + "|VexlanText|" + cases[i].text);
    fixture.Command("edit|memo" + std::to_string(i) + "|form|" + cases[i].text);
  }

  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    for (const char* way : {"arg", "line"}) {
      SCOPED_TRACE(way);
      const WindowHandle w = fixture.Id(way + std::to_string(i));
      EXPECT_EQ(GetWindowCaption(Ws(), w), cases[i].text);
      EXPECT_EQ(GetControlText(Ws(), w), cases[i].text);
    }
    EXPECT_EQ(GetControlText(Ws(), fixture.Id("memo" + std::to_string(i))), cases[i].text);
  }
}

TEST(FixtureWindowText, LongCaptionsAreCutForTheCaptionButNotForTheControlText) {
  std::string cjk_250, cjk_200;
  for (int i = 0; i < 250; ++i) (i < 200 ? cjk_200 : cjk_250) += "東";
  cjk_250 = cjk_200 + cjk_250;
  struct Case {
    const char* name;
    std::string caption;
    std::string cut;
  };
  const Case cases[] = {
      {"250 ASCII letters", std::string(250, 'x'), std::string(200, 'x')},
      {"exactly 200", std::string(200, 'y'), std::string(200, 'y')},
      {"201", std::string(201, 'w'), std::string(200, 'w')},
      {"250 CJK characters", cjk_250, cjk_200},
      {"an emoji across the limit", std::string(199, 'a') + "😀" + std::string(49, 'z'), std::string(199, 'a')},
  };
  std::vector<std::string> commands;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    commands.push_back("top|w" + std::to_string(i) + "|VexlanLong|" + cases[i].caption);
  }
  FixtureProcess fixture(commands);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    const WindowHandle w = fixture.Id("w" + std::to_string(i));
    EXPECT_EQ(GetWindowCaption(Ws(), w), cases[i].cut);
    EXPECT_EQ(GetControlText(Ws(), w), cases[i].caption);
  }
}

TEST(FixtureWindowText, CaptionsChangedByTheOwnerAreSeenAtOnce) {
  FixtureProcess fixture({"top|w|VexlanText|before"});
  const WindowHandle w = fixture.Id("w");
  ASSERT_EQ(GetWindowCaption(Ws(), w), "before");
  for (const TextCase& c : NonAsciiTexts()) {
    SCOPED_TRACE(c.name);
    fixture.Command("caption|w|" + c.text);
    EXPECT_EQ(GetWindowCaption(Ws(), w), c.text);
    EXPECT_EQ(GetControlText(Ws(), w), c.text);
  }
}

TEST(FixtureRecorder, SetControlTextArrivesIntactAndReadsBack) {
  FixtureProcess fixture({"recorder|rec|Before"});
  const WindowHandle rec = fixture.Id("rec");
  std::vector<TextCase> cases = NonAsciiTexts();
  cases.push_back({"line breaks and backslashes", "C:\\dir\\ two\r\nlines\\"});
  cases.push_back({"empty", ""});

  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t before = fixture.MessagesFor("rec").size();
    SetControlText(Ws(), rec, c.text);
    fixture.Sync();
    const std::vector<std::string> lines = fixture.MessagesFor("rec");
    ASSERT_EQ(lines.size(), before + 1);
    const RecordedMessage m = ParseRecordedMessage(lines.back());
    EXPECT_EQ(m.message, msg::kSetText);
    EXPECT_EQ(m.wparam, 0u);
    EXPECT_EQ(m.text, c.text);
    EXPECT_EQ(GetControlText(Ws(), rec), c.text);
    EXPECT_EQ(GetWindowCaption(Ws(), rec), c.text);
  }
}

// ---------------------------------------------------------------------------
// Classes, visibility and the window tree

TEST(FixtureWindowClass, ClassIsTheOneTheWindowWasCreatedWith) {
  const std::string long_class(230, 'C');
  FixtureProcess fixture({"top|plain|VexlanPlain|p", "child|kid|plain|VexlanKid|k", "edit|memo|plain|m",
                          "recorder|rec|r", "hung|frozen|f", "top|button|Button|b", "top|local|Klasse_ä_日本|x",
                          "top|long|" + long_class + "|l"});
  struct Case {
    const char* window;
    std::string cls;
  };
  const Case cases[] = {
      {"plain", "VexlanPlain"}, {"kid", "VexlanKid"}, {"memo", "Edit"},           {"rec", "VexlanRecorder"},
      {"frozen", "VexlanHung"}, {"button", "Button"}, {"local", "Klasse_ä_日本"}, {"long", std::string(200, 'C')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    EXPECT_EQ(GetWindowClass(Ws(), fixture.Id(c.window)), c.cls);
  }
}

TEST(FixtureWindowServices, VisibleOnlyWhenTheWholeAncestryIs) {
  FixtureProcess fixture({"top|shown|VexlanV|s", "hidden|unshown|VexlanV|u", "child|kid|shown|VexlanV|k",
                          "hiddenchild|hiddenkid|shown|VexlanV|hk", "child|orphan|unshown|VexlanV|o", "hung|frozen|f"});
  struct Case {
    const char* window;
    bool visible;
  };
  const Case cases[] = {{"shown", true},      {"unshown", false}, {"kid", true},
                        {"hiddenkid", false}, {"orphan", false},  {"frozen", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    EXPECT_EQ(Ws().IsVisible(fixture.Id(c.window)), c.visible);
  }
}

TEST(FixtureWindowTree, ChildrenAreWalkedInCreationOrder) {
  FixtureProcess fixture({"top|parent|VexlanParent|Parent", "child|first|parent|VexlanKid|1",
                          "hiddenchild|second|parent|VexlanKid|2", "edit|third|parent|3",
                          "child|fourth|parent|VexlanKid|4", "child|grandchild|first|VexlanKid|g",
                          "top|lonely|VexlanLonely|alone"});
  const auto ids = [&](std::initializer_list<const char*> names) {
    std::vector<WindowHandle> out;
    for (const char* n : names) out.push_back(fixture.Id(n));
    return out;
  };
  const WindowHandle parent = fixture.Id("parent");
  EXPECT_EQ(SiblingsFrom(GetFirstChild(Ws(), parent)), ids({"first", "second", "third", "fourth"}));
  EXPECT_EQ(GetFirstChild(Ws(), fixture.Id("first")), fixture.Id("grandchild"));

  struct End {
    const char* what;
    WindowHandle got;
  };
  const End ends[] = {
      {"next sibling of the last child", GetNextSibling(Ws(), fixture.Id("fourth"))},
      {"next sibling of an only child", GetNextSibling(Ws(), fixture.Id("grandchild"))},
      {"first child of a childless top-level window", GetFirstChild(Ws(), fixture.Id("lonely"))},
      {"first child of a childless child", GetFirstChild(Ws(), fixture.Id("second"))},
      {"first child of a grandchild", GetFirstChild(Ws(), fixture.Id("grandchild"))},
  };
  for (const End& e : ends) {
    SCOPED_TRACE(e.what);
    EXPECT_EQ(e.got, 0);
  }

  fixture.Command("child|fifth|parent|VexlanKid|5");
  EXPECT_EQ(SiblingsFrom(GetFirstChild(Ws(), parent)), ids({"first", "second", "third", "fourth", "fifth"}));
  fixture.Command("destroy|second");
  EXPECT_EQ(SiblingsFrom(GetFirstChild(Ws(), parent)), ids({"first", "third", "fourth", "fifth"}));
  fixture.Command("destroy|first");
  EXPECT_EQ(SiblingsFrom(GetFirstChild(Ws(), parent)), ids({"third", "fourth", "fifth"}));
}

TEST(FixtureWindowTree, TopLevelWalkMeetsEveryTopLevelWindowAndNoChild) {
  FixtureProcess fixture({"top|shown|VexlanTop|a", "hidden|unshown|VexlanTop|b", "recorder|rec|c", "hung|frozen|d",
                          "child|kid|shown|VexlanKid|k"});
  const std::vector<WindowHandle> walked = SiblingsFrom(Ws().TopWindow(), 1000000);
  const std::set<WindowHandle> top_level(walked.begin(), walked.end());
  EXPECT_EQ(top_level.size(), walked.size()) << "the walk met a window twice";
  for (const char* name : {"shown", "unshown", "rec", "frozen"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(top_level.count(fixture.Id(name)), 1u);
  }
  EXPECT_EQ(top_level.count(fixture.Id("kid")), 0u);
}

TEST(FixtureBulk, ChainsHaveTheRequestedDepthAndFollowEachOtherInZOrder) {
  struct Case {
    int count;
    int depth;
  };
  const Case cases[] = {{1, 1}, {5, 1}, {7, 3}, {6, 3}, {4, 10}, {12, 4}};
  FixtureProcess fixture;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const std::string prefix = "B" + std::to_string(i);
    SCOPED_TRACE(prefix + ": " + std::to_string(c.count) + " windows, depth " + std::to_string(c.depth));
    const BulkWindows bulk = fixture.RunBulk(prefix, c.count, c.depth);
    EXPECT_EQ(bulk.count, c.count);

    int seen = 0;
    WindowHandle top = FromHwnd(bulk.first);
    for (int chain = 1; seen < c.count; ++chain) {
      SCOPED_TRACE("chain " + std::to_string(chain));
      ASSERT_NE(top, 0);
      EXPECT_EQ(GetWindowCaption(Ws(), top), prefix + " " + std::to_string(chain));
      EXPECT_EQ(GetWindowClass(Ws(), top), "VexlanBulk");
      EXPECT_TRUE(Ws().IsVisible(top));
      int length = 1;
      for (WindowHandle w = GetFirstChild(Ws(), top); w != 0 && length <= c.depth; w = GetFirstChild(Ws(), w)) {
        EXPECT_EQ(GetNextSibling(Ws(), w), 0) << "more than one child at level " << length + 1;
        EXPECT_TRUE(Ws().IsVisible(w));
        ++length;
      }
      EXPECT_EQ(length, std::min(c.depth, c.count - seen));
      seen += length;
      top = GetNextSibling(Ws(), top);
    }
    EXPECT_EQ(seen, c.count);
  }
}

// A churn replaces its windows one by one and renames them, keeping their
// number; each stands with one child named after it. Looked at while the
// fixture pauses (200 ms of every 400), so that no tick runs in between.
TEST(FixtureChurn, ReplacesAndRenamesWindowsKeepingTheirNumber) {
  FixtureProcess fixture;
  for (const char* refused : {"churn|C|0|20", "churn|C|65|20", "churn|C|3|5"}) {
    SCOPED_TRACE(refused);
    EXPECT_THROW(fixture.Command(refused), FixtureError);
  }
  fixture.Command("churn|C|3|20");
  EXPECT_THROW(fixture.Command("churn|C|2|20"), FixtureError) << "a second churn of the same prefix";

  const auto standing = [&] {
    fixture.Command("pause|200");
    std::set<WindowHandle> found;
    for (WindowHandle w = Ws().TopWindow(); w != 0; w = GetNextSibling(Ws(), w)) {
      if (GetWindowClass(Ws(), w) == "VexlanChurn" && Ws().IsVisible(w)) found.insert(w);
    }
    return found;
  };
  const std::set<WindowHandle> first = standing();
  ASSERT_EQ(first.size(), 3u);
  std::set<WindowHandle> later;
  bool renamed = false;
  for (int i = 0; i < 50; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    later = standing();
    ASSERT_EQ(later.size(), 3u);
    for (WindowHandle w : later) {
      const std::string caption = GetWindowCaption(Ws(), w);
      SCOPED_TRACE(caption);
      ASSERT_EQ(caption.rfind("C ", 0), 0u);
      const WindowHandle child = GetFirstChild(Ws(), w);
      ASSERT_NE(child, 0);
      EXPECT_EQ(GetNextSibling(Ws(), child), 0);
      const std::size_t mark = caption.find(" #");
      EXPECT_EQ(GetWindowCaption(Ws(), child).rfind(caption.substr(0, mark) + ".2", 0), 0u);
      renamed = renamed || mark != std::string::npos;
    }
    if (renamed && std::none_of(later.begin(), later.end(), [&](WindowHandle w) { return first.count(w) != 0; })) {
      break;
    }
  }
  EXPECT_TRUE(renamed) << "no caption changed";
  for (WindowHandle w : later) EXPECT_EQ(first.count(w), 0u) << "a first window still stands";
}

// ---------------------------------------------------------------------------
// Clicks, hung and destroyed windows

TEST(FixtureRecorder, LeftClickIsExactlyPressThenRelease) {
  FixtureProcess fixture({"recorder|rec|Clicks"});
  SendLeftClick(Ws(), Posting(), fixture.Id("rec"));
  EXPECT_EQ(fixture.WaitForMessages("rec", 2, std::chrono::seconds(20)).size(), 2u);
  fixture.Sync();  // anything sent after the release would have arrived by now

  const std::vector<std::string> lines = fixture.MessagesFor("rec");
  ASSERT_EQ(lines.size(), 2u);
  const unsigned expected[] = {msg::kLButtonDown, msg::kLButtonUp};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i]);
    const RecordedMessage m = ParseRecordedMessage(lines[i]);
    EXPECT_EQ(m.message, expected[i]);
    EXPECT_EQ(m.wparam, kMkLButton);
    EXPECT_EQ(m.lparam, 0);
  }
}

TEST(FixtureDestroyedWindow, ReadersGiveNothingAndActionsHaveNoEffect) {
  FixtureProcess fixture({"top|parent|VexlanParent|Parent", "child|kid|parent|VexlanKid|Kid", "recorder|rec|Rec",
                          "top|lone|VexlanLone|Lone"});
  const char* const names[] = {"parent", "kid", "rec", "lone"};
  // What the checks below expect to vanish is there to begin with.
  for (const char* name : names) {
    SCOPED_TRACE(std::string("before: ") + name);
    EXPECT_FALSE(GetWindowCaption(Ws(), fixture.Id(name)).empty());
    EXPECT_FALSE(GetControlText(Ws(), fixture.Id(name)).empty());
    EXPECT_FALSE(GetWindowClass(Ws(), fixture.Id(name)).empty());
  }
  ASSERT_EQ(GetFirstChild(Ws(), fixture.Id("parent")), fixture.Id("kid"));

  fixture.Command("destroy|parent");  // and with it the kid
  fixture.Command("destroy|rec");
  fixture.Command("destroy|lone");
  for (const char* name : names) {
    SCOPED_TRACE(name);
    const WindowHandle w = fixture.Id(name);
    ASSERT_FALSE(IsWindow(ToHwnd(w)));
    EXPECT_EQ(GetControlText(Ws(), w), "");
    EXPECT_EQ(GetWindowCaption(Ws(), w), "");
    EXPECT_EQ(GetWindowClass(Ws(), w), "");
    EXPECT_EQ(GetFirstChild(Ws(), w), 0);
    EXPECT_EQ(GetNextSibling(Ws(), w), 0);
    EXPECT_FALSE(Ws().IsVisible(w));
    SetControlText(Ws(), w, "ghost");
    SendLeftClick(Ws(), Posting(), w);
  }
  fixture.Sync();
  EXPECT_THAT(fixture.MessagesFor("rec"), ::testing::IsEmpty());
}

// ---------------------------------------------------------------------------
// The fixture client itself, which the benchmark relies on too

TEST(FixtureProcessClient, CommandLineArgumentsArriveUnchanged) {
  const TextCase cases[] = {
      {"quotes", "say \"hi\" \"twice\""},
      {"trailing backslash", "C:\\dir\\"},
      {"backslashes before a quote", "a\\\\\"b\\\""},
      {"tab and spaces", "  tab\there  "},
      {"a bar inside the last field", "pipe | in | caption"},
      {"empty", ""},
  };
  std::vector<std::string> commands;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    commands.push_back("top|q" + std::to_string(i) + "|VexlanQuote|" + cases[i].text);
  }
  FixtureProcess fixture(commands);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(GetWindowCaption(Ws(), fixture.Id("q" + std::to_string(i))), cases[i].text);
  }
}

TEST(FixtureProcessClient, RefusedCommandsFailWithTheFixturesReason) {
  FixtureProcess fixture({"top|plain|VexlanPlain|p", "hung|frozen|f"});
  struct Case {
    std::string command;
    const char* reason;
  };
  const Case cases[] = {
      {"bogus|x", "unknown command 'bogus'"},
      {"top|x|VexlanPlain", "usage: top|NAME|CLASS|CAPTION"},
      {"top|plain|VexlanPlain|again", "window plain exists already"},
      {"top|two words|VexlanPlain|c", "holds white space"},
      {"child|k|nobody|VexlanKid|c", "no window named nobody"},
      {"type|plain|text", "is no edit control"},
      {"caption|frozen|x", "belongs to the hung thread"},
      {"destroy|frozen", "belongs to the hung thread"},
      {"child|k|frozen|VexlanKid|c", "belongs to the hung thread"},
      {"bulk|B|0|1", "COUNT must be a number"},
      {"bulk|B|3|x", "DEPTH must be a number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    try {
      fixture.Command(c.command);
      ADD_FAILURE() << "accepted";
    } catch (const FixtureError& e) {
      EXPECT_THAT(e.what(), ::testing::HasSubstr(c.reason));
    }
  }
  EXPECT_THROW(fixture.Handle("nobody"), FixtureError);
  fixture.Sync();  // still in step: the next command gets its own answer
  fixture.Command("child|k|plain|VexlanKid|c");
  EXPECT_EQ(GetFirstChild(Ws(), fixture.Id("plain")), fixture.Id("k"));
}

TEST(FixtureProcessClient, FailingStartReportsTheFixturesReason) {
  try {
    FixtureProcess fixture({"top|ok|VexlanPlain|fine", "bogus"});
    ADD_FAILURE() << "started";
  } catch (const FixtureError& e) {
    EXPECT_THAT(e.what(), ::testing::HasSubstr("ended before it was ready, exit code 2"));
    EXPECT_THAT(e.what(), ::testing::HasSubstr("unknown command 'bogus'"));
  }
}

TEST(FixtureProcessClient, FixtureEndsByItselfWhenDestroyedEvenWithAHungWindow) {
  HANDLE process = nullptr;
  HWND frozen = nullptr;
  {
    FixtureProcess fixture({"hung|frozen|f", "top|plain|VexlanPlain|p"});
    frozen = fixture.Handle("frozen");
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), fixture.Process(), GetCurrentProcess(), &process, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
  }
  ASSERT_EQ(WaitForSingleObject(process, 0), WAIT_OBJECT_0) << "still running";
  DWORD code = FixtureProcess::kTerminatedExitCode;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  EXPECT_EQ(code, 0u) << "it had to be terminated";
  EXPECT_FALSE(IsWindow(frozen));
}

}  // namespace
}  // namespace vexlan
