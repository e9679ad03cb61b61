// Vexlan against windows of another program that lie about their text's
// length, stop answering, or vanish between the lookup and the action.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit2.h"
#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/win32/win32_window_services.h"
#include "tests/win32/forms_test_support.h"
#include "tests/win32/support/fixture_process.h"
#include "tests/win32/toolkit_test_support.h"
#include "winutil/ExtCntrlsUtils.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

// Waits on other programs: generous, several times the send time-out.
constexpr int kWaitMs = 15000;
constexpr std::chrono::milliseconds kReturnBound{2 * kRoutineCeilingMs};

// Whatever length a window claims, its text comes out whole when the claim
// is larger, cut at the claim (never inside a pair) when it is smaller, and
// empty when it is not positive.
TEST(FixtureLiar, LyingTextLengthsGiveTheTrueTextCutAtTheLengthAskedFor) {
  const std::string text = "Grüße 🙂 東京";  // 11 UTF-16 units; the emoji is units 7 and 8
  struct Case {
    const char* name;
    long long length;
    std::string expected;
  };
  const Case cases[] = {
      {"far larger", 1000000, text},
      {"the largest 32-bit length", INT_MAX, text},
      {"beyond 32 bits", 1LL << 40, text},
      {"one unit short", 10, "Grüße 🙂 東"},
      {"ending inside the pair", 7, "Grüße "},
      {"three", 3, "Grü"},
      {"zero", 0, ""},
      {"negative", -1, ""},
      {"the most negative", LLONG_MIN, ""},
  };
  std::vector<std::string> commands;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    commands.push_back("liar|L" + std::to_string(i) + "|" + std::to_string(cases[i].length) + "|" + text);
  }
  FixtureProcess fixture(commands);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(GetControlText(SystemWindowServices(), fixture.Id("L" + std::to_string(i))), cases[i].expected);
  }
}

class HostileTargetsTest : public FormsNextToFixtureTest {
 protected:
  void SetUp() override {
    Start({"recorder|rec|Recorder", "recorder|witness|Witness", "liar|liar|2147483647|Lying text",
           "hung|hung|Frozen", "top|Top|VexlanHostileTop|Top"});
  }
  void Select(const char* name) { ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id(name))) << name; }
  // The messages shown while `call` runs.
  static std::vector<std::string> Shown(const std::function<void()>& call) {
    std::vector<std::string> shown;
    ScopedShowMessageHook hook([&](const std::string& text) { shown.push_back(text); });
    call();
    return shown;
  }
};

struct Action {
  const char* what;
  std::function<void()> act;
};

// Everything the program can do to the selected window, the text dialog's
// buttons included (the dialog reads the window when it opens).
std::vector<Action> EveryAction() {
  return {
      {"left click", [] { Form1->SendClick1Click(nullptr); }},
      {"right click", [] { Form1->SendRightClick1Click(nullptr); }},
      {"edit/view text", [] { Form1->EditViewText1Click(nullptr); }},
      {"get text", [] { Form2->GetBtnClick(nullptr); }},
      {"set text", [] { Form2->SetBtnClick(nullptr); }},
      {"hide", [] { Form1->Hidewindow1Click(nullptr); }},
      {"show", [] { Form1->Showwindow1Click(nullptr); }},
      {"close", [] { Form1->Closewindow1Click(nullptr); }},
  };
}

TEST_F(HostileTargetsTest, TheTextDialogShowsALiarsTrueText) {
  Select("liar");
  Form1->EditViewText1Click(nullptr);
  EXPECT_EQ(Form2->Edit1->Text(), "Lying text");
  EXPECT_EQ(Form2->textlength->Caption(), "10");
}

// Windows that stop answering, for good or after claiming a huge text: every action returns within the
// ceiling while the program answers, and each is told for what it is: reads and clicks did not get an
// answer in time (the click waits in the window's queue), a text not read is not written, showing,
// hiding and closing are handed to the window's thread.
TEST_F(HostileTargetsTest, EveryActionAndReadOnAWindowThatStopsAnsweringReturnsAndIsTold) {
  fixture_->Command("liarhang|liarhang|2147483647|Claims much");
  Form1->RefreshBtnClick(nullptr);
  Select("liarhang");
  GetControlText(SystemWindowServices(), fixture_->Id("liarhang"));  // it claims, then stops
  const std::string late = "The window did not answer in time.";
  const std::map<std::string, std::vector<std::string>> told = {
      {"left click", {late + " The click will reach it when it answers."}},
      {"right click", {late + " The click will reach it when it answers."}},
      {"edit/view text", {late}},
      {"get text", {late}},
      {"set text", {"The text shown was not read from this window. Press Get Text first."}},
  };
  for (const char* target : {"hung", "liarhang"}) {
    for (const Action& a : EveryAction()) {
      SCOPED_TRACE(std::string(target) + ": " + a.what);
      Select(target);
      std::vector<std::string> shown;
      const Responsiveness seen = WhileAnswering(*app_, Form1->Handle(), [&] { shown = Shown(a.act); });
      EXPECT_LT(seen.took, kReturnBound);
      EXPECT_EQ(seen.unanswered, 0);
      EXPECT_EQ(shown, told.count(a.what) ? told.at(a.what) : std::vector<std::string>{});
    }
  }
  EXPECT_EQ(Form2->Edit1->Text(), "") << "a read that was not answered leaves no text to write back";
  EXPECT_EQ(GetWindowCaption(SystemWindowServices(), fixture_->Id("hung")), "Frozen");
  EXPECT_EQ(GetWindowClass(SystemWindowServices(), fixture_->Id("hung")), "VexlanHung");
}

TEST_F(HostileTargetsTest, SlowHandlersGetOneReleaseAndAHideUnwaited) {
  fixture_->Command("slowup|rec|2500");
  fixture_->Command("slowpos|slow|8000|Slow to move");
  Form1->RefreshBtnClick(nullptr);
  Select("rec");
  // The probe that follows the click is answered before the release when
  // the fixture's thread reads its queue after the probe was sent, and only
  // after the slow release otherwise: both are right, the second is told.
  const std::vector<std::string> shown = Shown([] { Form1->SendClick1Click(nullptr); });
  if (!shown.empty()) {
    EXPECT_EQ(shown, std::vector<std::string>{
                         "The window did not answer in time. The click will reach it when it answers."});
  }
  EXPECT_EQ(fixture_->WaitForMessages("rec", 3, std::chrono::milliseconds(3 * 2500)),  // room for a third
            (std::vector<std::string>{"message rec 0x0201 1 0", "message rec 0x0202 1 0"}));
  Select("slow");
  const Responsiveness seen = WhileAnswering(*app_, Form1->Handle(), [] { Form1->Hidewindow1Click(nullptr); });
  EXPECT_LT(seen.took, std::chrono::milliseconds(2 * kSendTimeoutMs));
  EXPECT_EQ(seen.unanswered, 0);
  EXPECT_TRUE(PumpUntil(*app_, [&] { return !::IsWindowVisible(fixture_->Handle("slow")); }, 3 * 8000));
}

// A thread that takes no message for 3 s: the click returns within its one time-out, the user is told,
// and the window gets exactly one press and one release when it answers again.
TEST_F(HostileTargetsTest, AClickOnAPausedWindowArrivesWholeWhenItAnswers) {
  Select("rec");
  fixture_->Command("pause|3000");
  std::vector<std::string> shown;
  const Responsiveness seen =
      WhileAnswering(*app_, Form1->Handle(), [&] { shown = Shown([] { Form1->SendClick1Click(nullptr); }); });
  EXPECT_LT(seen.took, kReturnBound);
  EXPECT_EQ(seen.unanswered, 0);
  EXPECT_EQ(shown, std::vector<std::string>{
                       "The window did not answer in time. The click will reach it when it answers."});
  EXPECT_EQ(fixture_->WaitForMessages("rec", 3, std::chrono::milliseconds(kWaitMs)),  // room for a third
            (std::vector<std::string>{"message rec 0x0201 1 0", "message rec 0x0202 1 0"}));
}

// The tree is a snapshot: a window may close after its node was selected. Then no action reaches
// anything, and each says the window no longer exists, but a read, which shows an empty text.
TEST_F(HostileTargetsTest, AWindowDestroyedBetweenTheLookupAndTheActionIsNotActedOnAndIsTold) {
  Select("rec");
  fixture_->Command("destroy|rec");
  ASSERT_FALSE(::IsWindow(fixture_->Handle("rec")));
  Form2->Edit1->SetText("typed before");
  for (const Action& a : EveryAction()) {
    SCOPED_TRACE(a.what);
    const bool read = std::string(a.what) == "edit/view text" || std::string(a.what) == "get text";
    EXPECT_EQ(Shown(a.act), read ? std::vector<std::string>{}
                                 : std::vector<std::string>{"The window no longer exists."});
  }
  EXPECT_EQ(Form2->Edit1->Text(), "");
  fixture_->Sync();
  EXPECT_TRUE(fixture_->MessagesFor("witness").empty());
  EXPECT_TRUE(::IsWindowVisible(fixture_->Handle("Top")));
}

}  // namespace
}  // namespace vexlan
