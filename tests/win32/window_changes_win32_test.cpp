// The "Change" submenu and its two dialogs against windows of another
// process that record what they receive, some of whose threads stop
// answering for a while.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit7.h"
#include "forms/Vexlan_unit8.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/win32/win32_window_services.h"
#include "tests/win32/forms_test_support.h"
#include "tests/win32/toolkit_test_support.h"
#include "winutil/change_input.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;
using namespace std::chrono_literals;

constexpr auto kWait = 15s;  // for other programs: several times the time-out
constexpr char kNotAnswered[] = "The window did not answer in time. The change will take effect when it answers.";
// WM_STYLECHANGED for GWL_STYLE, as the fixture reports it, lParam left out.
constexpr char kStyleChanged[] = "message t 0x007D 18446744073709551600 ";

class WindowChangesTest : public FormsNextToFixtureTest {
 protected:
  void SetUp() override {
    Start({"target|t|Target", "top|Frame|VexlanChangeFrame|Frame", "child|Kid|Frame|VexlanChangeKid|Kid"});
    app_->CreateForm(Form7);
    app_->CreateForm(Form8);
  }
  void Select(const char* name) {
    if (!Form1->Findnodebyhandle(fixture_->Id(name))) Form1->RefreshBtnClick(nullptr);
    ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id(name))) << name;
  }
  // What the user is told while `call` runs.
  std::vector<std::string> Told(const std::function<void()>& call) {
    std::vector<std::string> told;
    ScopedShowMessageHook hook([&](const std::string& text) { told.push_back(text); });
    call();
    return told;
  }
  std::vector<std::string> Messages(std::size_t count) { return fixture_->WaitForMessages("t", count, kWait); }
  DWORD Style(const char* name, int index = GWL_STYLE) {
    return static_cast<DWORD>(::GetWindowLongPtrW(fixture_->Handle(name), index));
  }
  // Waits, handling our own messages, until `done` holds.
  bool Eventually(const std::function<bool()>& done) {
    return PumpUntil(*app_, done, static_cast<int>(std::chrono::milliseconds(kWait).count()));
  }
  // Ticks or clears the style list's line `name` as the user would.
  void Tick(const std::string& name, bool on) {
    const auto& lines = Form8->StyleList->Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].text != name) continue;
      LVITEMW item{};
      item.stateMask = LVIS_STATEIMAGEMASK;
      item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
      ::SendMessageW(Form8->StyleList->Handle(), LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
      return;
    }
    ADD_FAILURE() << "no line " << name;
  }
};

// Enabled and Always on top flip the window's state, the fixture seeing
// WM_ENABLE, and the check marks show it; Vexlan's own windows are refused.
TEST_F(WindowChangesTest, EnabledAndAlwaysOnTopFlipTheWindowsState) {
  Select("t");
  const HWND t = fixture_->Handle("t");
  EXPECT_EQ(Told([] { Form1->Enabled1Click(nullptr); }), std::vector<std::string>{});
  EXPECT_FALSE(::IsWindowEnabled(t));
  Form1->PopupMenu1->OnPopup(nullptr);
  EXPECT_FALSE(Form1->Enabled1->Checked());
  Form1->Enabled1Click(nullptr);
  EXPECT_TRUE(::IsWindowEnabled(t));
  EXPECT_EQ(Messages(2), (std::vector<std::string>{"message t 0x000A 0 0", "message t 0x000A 1 0"}));

  for (const bool on : {true, false}) {
    SCOPED_TRACE(on ? "on top" : "no longer");
    Form1->Alwaysontop1Click(nullptr);
    EXPECT_TRUE(Eventually([&] { return ((Style("t", GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) == on; }));
    Form1->PopupMenu1->OnPopup(nullptr);
    EXPECT_EQ(Form1->Alwaysontop1->Checked(), on);
  }
  Select("Kid");
  Form1->PopupMenu1->OnPopup(nullptr);
  EXPECT_FALSE(Form1->Alwaysontop1->Enabled()) << "a child window is never always on top";

  ASSERT_TRUE(Form1->Findnodebyhandle(FromHwnd(Form1->Handle())));
  EXPECT_EQ(Told([] { Form1->Enabled1Click(nullptr); }),
            std::vector<std::string>{"Vexlan does not change its own windows."});
  EXPECT_TRUE(::IsWindowEnabled(Form1->Handle()));
}

// A top-level window moves on the screen, a child in its parent's client
// area; the fields start as the window stands; a field that does not read
// is told and nothing moves.
TEST_F(WindowChangesTest, MoveAndSizePlacesTopLevelAndChildWindows) {
  struct Case {
    const char* window;
    std::vector<std::string> typed;  // Left, Top, Width, Height
    std::vector<std::string> told;
  };
  const Case cases[] = {
      {"Frame", {"130", "90", "260", "150"}, {}},
      {"Kid", {"12", "30", "70", "22"}, {}},
      {"Kid", {"12", "30", "-70", "22"}, {"Width cannot be below zero."}},
      {"Frame", {"1", "2", "3", "99999999999"}, {"Height: \"99999999999\" is beyond 32 bits: from -2147483648 to 2147483647."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    Select(c.window);
    const HWND hwnd = fixture_->Handle(c.window);
    const RECT before = RectIn(hwnd, ::GetAncestor(hwnd, GA_PARENT));
    Form1->Moveandsize1Click(nullptr);
    ASSERT_TRUE(Form7->Visible());
    EXPECT_EQ(Form7->LeftEdit->Text(), std::to_string(before.left));
    EXPECT_EQ(Form7->HeightEdit->Text(), std::to_string(before.bottom - before.top));
    TEdit* const fields[] = {Form7->LeftEdit, Form7->TopEdit, Form7->WidthEdit, Form7->HeightEdit};
    for (int i = 0; i < 4; ++i) fields[i]->SetText(c.typed[static_cast<std::size_t>(i)]);
    EXPECT_EQ(Told([] { Form7->ApplyBtnClick(nullptr); }), c.told);
    const auto place = [&] { return RectIn(hwnd, ::GetAncestor(hwnd, GA_PARENT)); };
    if (c.told.empty()) {
      const RECT want{std::stoi(c.typed[0]), std::stoi(c.typed[1]), std::stoi(c.typed[0]) + std::stoi(c.typed[2]),
                      std::stoi(c.typed[1]) + std::stoi(c.typed[3])};
      EXPECT_TRUE(Eventually([&] {
        const RECT now = place();
        return ::EqualRect(&want, &now) != FALSE;
      }));
    } else {
      fixture_->Sync();
      Settle(*app_);
      const RECT now = place();
      EXPECT_TRUE(::EqualRect(&before, &now)) << "nothing applied";
    }
    Form7->Close();
  }
}

// A style bit ticked, applied and cleared by typing the value back: the
// fixture sees WM_STYLECHANGED each time; a value that does not read is
// told and nothing is written.
TEST_F(WindowChangesTest, StylesSetAndClearABit) {
  Select("t");
  const DWORD before = Style("t");
  ASSERT_EQ(before & WS_VSCROLL, 0u);
  Form1->Styles1Click(nullptr);
  ASSERT_TRUE(Form8->Visible());
  EXPECT_EQ(Form8->StyleEdit->Text(), HexValueText(before));
  Tick("WS_VSCROLL", true);
  EXPECT_EQ(Form8->StyleEdit->Text(), HexValueText(before | WS_VSCROLL));
  EXPECT_EQ(Told([] { Form8->ApplyBtnClick(nullptr); }), std::vector<std::string>{});
  EXPECT_EQ(Style("t"), before | WS_VSCROLL);

  Form8->StyleEdit->SetText(HexValueText(before));
  for (const TCheckList::Line& line : Form8->StyleList->Lines()) {
    if (line.text == "WS_VSCROLL") {
      EXPECT_EQ(line.checked, false) << "the typed value ticks the boxes";
    }
  }
  Form8->ApplyBtnClick(nullptr);
  EXPECT_EQ(Style("t"), before);
  const std::vector<std::string> seen = Messages(2);
  ASSERT_EQ(seen.size(), 2u);
  for (const std::string& line : seen) EXPECT_EQ(line.rfind(kStyleChanged, 0), 0u) << line;

  Form8->ExStyleEdit->SetText("0x1FFFFFFFF");
  EXPECT_EQ(Told([] { Form8->ApplyBtnClick(nullptr); }),
            std::vector<std::string>{"Extended style: \"0x1FFFFFFFF\" is beyond 32 bits: at most 0xFFFFFFFF."});
  fixture_->Sync();
  EXPECT_EQ(fixture_->MessagesFor("t").size(), 2u) << "nothing written";
}

// On a window whose thread has stopped answering, each change returns
// within the bound, the user told that it waits, and arrives once the
// window answers; a move goes to the window's thread without a wait.
TEST_F(WindowChangesTest, AWindowThatStoppedAnsweringIsToldAndChangedWhenItAnswers) {
  Select("t");
  const HWND t = fixture_->Handle("t");
  const DWORD before = Style("t");
  struct Step {
    const char* what;
    std::function<void()> change;
    std::vector<std::string> told;
    std::function<bool()> arrived;
  };
  const Step steps[] = {
      {"disable", [] { Form1->Enabled1Click(nullptr); }, {kNotAnswered}, [&] { return !::IsWindowEnabled(t); }},
      {"a style bit",
       [&] {
         Form1->Styles1Click(nullptr);
         Form8->StyleEdit->SetText(HexValueText(before | WS_HSCROLL));
         Form8->ApplyBtnClick(nullptr);
       },
       {kNotAnswered}, [&] { return Style("t") == (before | WS_HSCROLL); }},
      {"move", [&] {
         Form1->Moveandsize1Click(nullptr);
         Form7->LeftEdit->SetText("77");
         Form7->ApplyBtnClick(nullptr);
       },
       {}, [&] { return RectIn(t, ::GetDesktopWindow()).left == 77; }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    fixture_->Command("stall|t|4000");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Told(step.change), step.told);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3 * std::chrono::milliseconds(kSendTimeoutMs));
    EXPECT_FALSE(step.arrived()) << "not before the window answers";
    EXPECT_TRUE(Eventually(step.arrived));
  }
}

}  // namespace
}  // namespace vexlan
