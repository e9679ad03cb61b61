// The "Change" submenu and its dialogs against windows of another process
// that record what they receive and stop answering on command.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit7.h"
#include "forms/Vexlan_unit8.h"
#include "platform/toolkit/win32/dialogs.h"
#include "tests/win32/forms_test_support.h"
#include "tests/win32/toolkit_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;
using Told = std::vector<std::string>;

constexpr int kWaitMs = 15000;  // for other programs: several times the time-out
constexpr char kNotAnswered[] = "The window did not answer in time. The change will take effect when it answers.";

bool operator==(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

class WindowChangesTest : public FormsNextToFixtureTest {
 protected:
  void SetUp() override {
    Start({"target|t|Target", "top|Frame|VexlanChangeFrame|Frame", "child|Kid|Frame|VexlanChangeKid|Kid"});
    app_->CreateForm(Form7);
    app_->CreateForm(Form8);
  }
  void Select(const std::string& name) {
    if (!Form1->Findnodebyhandle(fixture_->Id(name))) Form1->RefreshBtnClick(nullptr);
    ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id(name))) << name;
  }
  Told Act(const std::function<void()>& act) {
    Told told;
    ScopedShowMessageHook hook([&](const std::string& text) { told.push_back(text); });
    act();
    return told;
  }
  // Types into the Move and Size dialog, opened on the selected window, and applies.
  static void MoveTo(std::vector<std::string> fields) {
    Form1->Moveandsize1Click(nullptr);
    TEdit* const edits[] = {Form7->LeftEdit, Form7->TopEdit, Form7->WidthEdit, Form7->HeightEdit};
    for (std::size_t i = 0; i < fields.size(); ++i) edits[i]->SetText(fields[i]);
    Form7->ApplyBtnClick(nullptr);
  }
  // In the Styles dialog, opened on the selected window: ticks a style bit
  // as the user does, or clears it, and applies.
  static void TickStyle(const std::string& bit, bool on) {
    Form1->Styles1Click(nullptr);
    const auto& lines = Form8->StyleList->Lines();
    const auto line = std::find_if(lines.begin(), lines.end(), [&](const auto& l) { return l.text == bit; });
    LVITEMW item{};
    item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
    item.stateMask = LVIS_STATEIMAGEMASK;
    ::SendMessageW(Form8->StyleList->Handle(), LVM_SETITEMSTATE, line - lines.begin(), reinterpret_cast<LPARAM>(&item));
    Form8->ApplyBtnClick(nullptr);
  }
  // Every step on the windows of a thread that answers, or that has just
  // stopped answering for a while: each returns within the bound, told when
  // it waits for the window, and arrives once the window answers.
  void Run(bool stalled) {
    const auto style = [](HWND h, int index, DWORD bit) { return (::GetWindowLongPtrW(h, index) & bit) != 0; };
    struct Step {
      const char* window;
      std::function<void()> act;
      std::function<bool(HWND)> done;
      bool waits;  // for the window's thread
    };
    const Step steps[] = {
        {"t", [] { Form1->Enabled1Click(nullptr); }, [](HWND h) { return !::IsWindowEnabled(h); }, true},
        {"t", [] { Form1->Enabled1Click(nullptr); }, [](HWND h) { return ::IsWindowEnabled(h) != FALSE; }, true},
        {"t", [] { Form1->Alwaysontop1Click(nullptr); }, [&](HWND h) { return style(h, GWL_EXSTYLE, WS_EX_TOPMOST); },
         false},
        {"t", [] { Form1->Alwaysontop1Click(nullptr); }, [&](HWND h) { return !style(h, GWL_EXSTYLE, WS_EX_TOPMOST); },
         false},
        {"t", [] { TickStyle("WS_VSCROLL", true); }, [&](HWND h) { return style(h, GWL_STYLE, WS_VSCROLL); }, true},
        {"t", [] { TickStyle("WS_VSCROLL", false); }, [&](HWND h) { return !style(h, GWL_STYLE, WS_VSCROLL); }, true},
        {"t", [] { MoveTo({"130", "90", "260", "150"}); },
         [](HWND h) { return RectIn(h, ::GetDesktopWindow()) == RECT{130, 90, 390, 240}; }, false},
        {"Kid", [] { MoveTo({"12", "30", "70", "22"}); },
         [](HWND h) { return RectIn(h, ::GetParent(h)) == RECT{12, 30, 82, 52}; }, false},
    };
    for (const Step& step : steps) {
      SCOPED_TRACE(&step - steps);
      const HWND hwnd = fixture_->Handle(step.window);
      Select(step.window);
      // The child belongs to the fixture's main thread.
      if (stalled) fixture_->Command(hwnd == fixture_->Handle("t") ? "stall|t|2500" : "pause|2500");
      const auto start = std::chrono::steady_clock::now();
      EXPECT_EQ(Act(step.act), stalled && step.waits ? Told{kNotAnswered} : Told{});
      EXPECT_LT(std::chrono::steady_clock::now() - start, 3 * std::chrono::milliseconds(kSendTimeoutMs));
      EXPECT_TRUE(!stalled || !step.done(hwnd)) << "not before the window answers";
      EXPECT_TRUE(PumpUntil(*app_, [&] { return step.done(hwnd); }, kWaitMs));
      Form1->PopupMenu1->OnPopup(nullptr);
      EXPECT_EQ(Form1->Enabled1->Checked(), ::IsWindowEnabled(hwnd) != FALSE);
      EXPECT_EQ(Form1->Alwaysontop1->Checked(), style(hwnd, GWL_EXSTYLE, WS_EX_TOPMOST));
    }
    EXPECT_FALSE(Form1->Alwaysontop1->Enabled()) << "a child window is never always on top";
  }
};

// The fixture sees WM_ENABLE and WM_STYLECHANGED; the check marks show the
// window's state.
TEST_F(WindowChangesTest, EachChangeArrives) {
  Run(false);
  std::vector<std::string> seen = fixture_->WaitForMessages("t", 4, std::chrono::milliseconds(kWaitMs));
  for (std::string& line : seen) line = line.substr(0, line.rfind(' '));  // WM_STYLECHANGED's lParam is a pointer
  EXPECT_EQ(seen, (Told{"message t 0x000A 0", "message t 0x000A 1", "message t 0x007D 18446744073709551600",
                        "message t 0x007D 18446744073709551600"}));
}

TEST_F(WindowChangesTest, AWindowThatStoppedAnsweringIsToldAndChangedWhenItAnswers) { Run(true); }

}  // namespace
}  // namespace vexlan
