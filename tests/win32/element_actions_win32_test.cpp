// The main form's actions on the selected window, against windows of
// another process that record what they receive.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit2.h"
#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/clipboard.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/win32/win32_window_services.h"
#include "tests/win32/forms_test_support.h"
#include "tests/win32/support/fixture_process.h"
#include "tests/win32/toolkit_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

// Waits on other programs: generous, several times the send time-out.
constexpr int kWaitMs = 15000;
using Told = std::vector<std::string>;

class ElementActionsTest : public FormsNextToFixtureTest {
 protected:
  void SetUp() override {
    std::vector<std::string> commands = {
        "recorder|rec|Recorder",
        "top|Top|VexlanActTop|Actions top",
        "child|C1|Top|VexlanActKid|one",
        "child|C2|Top|VexlanActKid|two",
        "child|C3|Top|VexlanActKid|three",
        "edit|E1|Top|first text",
        "edit|E2|Top|second text",
        "scrollbar|Bar|Top",
    };
    for (int i = 1; i <= 12; ++i) commands.push_back("child|G" + std::to_string(i) + "|C3|VexlanActGrandchild|g");
    commands.push_back("child|G12a|G12|VexlanActGrandchild|deep");
    Start(commands);
  }
  HWND Hwnd(const char* name) const { return fixture_->Handle(name); }
  TTreeNode* Node(const std::string& name) const { return NodeList.NodeOf(fixture_->Id(name)); }
  void Select(const char* name) {
    // Wine may restack the fixture's new windows while the first walk runs
    // past them; a second walk sees them settled.
    if (!Form1->Findnodebyhandle(fixture_->Id(name))) Form1->RefreshBtnClick(nullptr);
    ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id(name))) << name;
  }
  // The messages shown while `call` runs.
  std::vector<std::string> Shown(const std::function<void()>& call) {
    std::vector<std::string> shown;
    ScopedShowMessageHook hook([&](const std::string& text) { shown.push_back(text); });
    call();
    return shown;
  }
};

TEST_F(ElementActionsTest, ClicksDeliverExactlyThePressAndTheRelease) {
  Select("rec");
  Form1->SendClick1Click(nullptr);
  Form1->SendRightClick1Click(nullptr);
  fixture_->Sync();
  const std::vector<std::string> expected = {"message rec 0x0201 1 0", "message rec 0x0202 1 0",
                                             "message rec 0x0204 2 0", "message rec 0x0205 2 0"};
  EXPECT_EQ(fixture_->WaitForMessages("rec", 4, std::chrono::milliseconds(kWaitMs)), expected);
  Form1->Closewindow1Click(nullptr);
  EXPECT_EQ(fixture_->WaitForMessages("rec", 5, std::chrono::milliseconds(kWaitMs)).back(), "message rec 0x0010 0 0");
}

// A press that a scroll bar answers by tracking the mouse until the button
// goes up still ends with its release: the scroll bar lets go.
TEST_F(ElementActionsTest, AClickOnAScrollBarEndsWithItsRelease) {
  Select("Bar");
  const Responsiveness seen = WhileAnswering(*app_, Form1->Handle(), [] { Form1->SendClick1Click(nullptr); });
  EXPECT_EQ(seen.unanswered, 0);
  const DWORD thread = ::GetWindowThreadProcessId(Hwnd("Bar"), nullptr);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  EXPECT_TRUE(PumpUntil(*app_, [&] {
    return ::GetGUIThreadInfo(thread, &info) && info.hwndCapture != Hwnd("Bar");
  }, kWaitMs)) << "the scroll bar still tracks the mouse";
  fixture_->Sync();
}

TEST_F(ElementActionsTest, HideThenShowKeepsPlaceAndSizeAndEndsAlwaysOnTop) {
  ::SetWindowPos(Hwnd("Top"), HWND_TOPMOST, 640, 420, 220, 140, SWP_NOACTIVATE);
  ASSERT_TRUE(::GetWindowLongPtrW(Hwnd("Top"), GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT before{};
  ::GetWindowRect(Hwnd("Top"), &before);
  Select("Top");
  Form1->Hidewindow1Click(nullptr);
  EXPECT_TRUE(PumpUntil(*app_, [&] { return !::IsWindowVisible(Hwnd("Top")); }, kWaitMs));
  Form1->Showwindow1Click(nullptr);
  EXPECT_TRUE(PumpUntil(*app_, [&] { return ::IsWindowVisible(Hwnd("Top")); }, kWaitMs));
  RECT after{};
  ::GetWindowRect(Hwnd("Top"), &after);
  EXPECT_TRUE(::EqualRect(&before, &after));
  EXPECT_FALSE(::GetWindowLongPtrW(Hwnd("Top"), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(ElementActionsTest, MakePathStringShowsTheChainOfSiblingNumbers) {
  struct Case {
    const char* name;  // nullptr: nothing selected
    std::string message;
  };
  const Case cases[] = {
      {"Top", "PathString is: \"\"."},
      {"C3", "PathString is: \"n3\"."},
      {"G12", "PathString is: \"n3n12\"."},
      {nullptr, "No window is selected."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    if (c.name) {
      Select(c.name);
    } else {
      Form1->TreeView1->SetSelected(nullptr);
    }
    EXPECT_EQ(Shown([] { Form1->MakePathString1Click(nullptr); }), std::vector<std::string>{c.message});
  }
}

// With no node selected, no action reaches any window.
TEST_F(ElementActionsTest, WithNothingSelectedNoActionActs) {
  Form1->TreeView1->SetSelected(nullptr);
  const std::function<void()> actions[] = {
      [] { Form1->SendClick1Click(nullptr); },   [] { Form1->SendRightClick1Click(nullptr); },
      [] { Form1->EditViewText1Click(nullptr); }, [] { Form1->Showwindow1Click(nullptr); },
      [] { Form1->Hidewindow1Click(nullptr); },  [] { Form1->Properties1Click(nullptr); },
      [] { Form1->Closewindow1Click(nullptr); }, [] { Form1->Highlight1Click(nullptr); },
  };
  for (const auto& action : actions) {
    EXPECT_EQ(Shown(action), std::vector<std::string>{"No window is selected."});
  }
  EXPECT_FALSE(::IsWindowVisible(Form2->Handle()));
  fixture_->Sync();
  EXPECT_TRUE(fixture_->MessagesFor("rec").empty());
}

TEST_F(ElementActionsTest, HighlightFlashesTheFrameThriceOrSaysTheWindowIsNotOnTheScreen) {
  Select("Top");
  EXPECT_TRUE(Shown([] { Form1->Highlight1Click(nullptr); }).empty());
  int flashes = 0, shown = 0;  // each wait ends as the frame comes or goes; 2 s of neither ends the flashing
  while (PumpUntil(*app_, [&] { return (ShownHighlightFrame() == 4) != shown; }, 2000)) flashes += (shown = !shown);
  EXPECT_EQ(flashes, 3);
  EXPECT_EQ(ShownHighlightFrame(), 0) << "the frame stayed";
  ::ShowWindow(Hwnd("C1"), SW_HIDE);
  Select("C1");
  EXPECT_EQ(Shown([] { Form1->Highlight1Click(nullptr); }), Told{"The window is not on the screen."});
}

TEST_F(ElementActionsTest, EditViewTextOnTheShownDialogReadsTheNewTarget) {
  Select("E1");
  Form1->EditViewText1Click(nullptr);
  ASSERT_TRUE(::IsWindowVisible(Form2->Handle()));
  EXPECT_EQ(Form2->Edit1->Text(), "first text");
  Select("E2");
  Form1->EditViewText1Click(nullptr);
  EXPECT_EQ(Form2->handle->Caption(), std::to_string(fixture_->Id("E2")));
  EXPECT_EQ(Form2->Edit1->Text(), "second text");
  EXPECT_TRUE(PumpUntil(*app_, [] { return ::GetForegroundWindow() == Form2->Handle(); }));
}

// Vexlan's own windows: a click runs after the menu's handler; none is shown or hidden (hidden, the main
// window, its tree or its bar would strand the program; shown, a highlight band would stay on the
// screen); its controls are not closed.
TEST_F(ElementActionsTest, ActionsOnVexlansOwnWindowsNeverRunInsideTheHandler) {
  Select("Top");
  Form1->Highlight1Click(nullptr);  // makes the frame's bands
  Form1->RefreshBtnClick(nullptr);
  ASSERT_TRUE(Form1->Findnodebyhandle(FromHwnd(Form1->RefreshBtn->Handle())));
  Form1->SendClick1Click(nullptr);
  EXPECT_EQ(Form1->SelectedHandle(), FromHwnd(Form1->RefreshBtn->Handle())) << "rebuilt inside the handler";
  EXPECT_TRUE(PumpUntil(*app_, [] { return Form1->TreeView1->Selected() == nullptr; }, kWaitMs)) << "no rebuild";
  Form1->RefreshBtnClick(nullptr);
  const HWND band = ::FindWindowExW(nullptr, nullptr, L"VexlanHighlightFrame", nullptr);
  ASSERT_TRUE(PumpUntil(*app_, [&] { return !::IsWindowVisible(band); }, kWaitMs)) << "the flash goes on";
  struct Case {
    HWND own;
    void (TForm1::*action)(TObject*);
  };
  for (const Case& c : {Case{Form1->Handle(), &TForm1::Hidewindow1Click},
                        Case{Form1->TreeView1->Handle(), &TForm1::Hidewindow1Click},
                        Case{Form1->AdvancedPanel1->Handle(), &TForm1::Hidewindow1Click},
                        Case{band, &TForm1::Showwindow1Click}}) {
    const bool visible = ::IsWindowVisible(c.own) != FALSE;
    ASSERT_TRUE(Form1->Findnodebyhandle(FromHwnd(c.own)));
    EXPECT_EQ(Shown([&] { (Form1->*c.action)(nullptr); }), Told{"Vexlan does not show or hide its own windows."});
    Settle(*app_);
    EXPECT_EQ(::IsWindowVisible(c.own) != FALSE, visible);
  }
  ASSERT_TRUE(Form1->Findnodebyhandle(FromHwnd(Form1->TreeView1->Handle())));
  EXPECT_EQ(Shown([] { Form1->Closewindow1Click(nullptr); }),
            Told{"This window is part of Vexlan and closes with it."});
}

// Ctrl+C copies the node, Ctrl+Shift+C the tree; "Keep place on refresh" brings back, by handle, the
// selection, the expanded and collapsed nodes and the top node after every rebuild.
TEST_F(ElementActionsTest, CopyAndKeepPlaceOnRefresh) {
  Form1->Keepplaceonrefresh1->Click();
  Select("G12a");
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetForegroundWindow() == Form1->Handle(); }));
  PressKey('C', {VK_CONTROL});
  EXPECT_TRUE(PumpUntil(*app_, [&] { return ClipboardText(nullptr) == Node("G12a")->Text(); }));
  PressKey('C', {VK_CONTROL, VK_SHIFT});
  EXPECT_TRUE(PumpUntil(*app_, [] { return ClipboardText(nullptr).find('\t') != std::string::npos; }));
  const std::string tree = "\r\n" + ClipboardText(nullptr) + "\r\n";
  EXPECT_NE(tree.find("\r\n\t\t" + Node("G12")->Text() + "\r\n\t\t\t" + Node("G12a")->Text() + "\r\n"),
            std::string::npos) << tree;
  EXPECT_EQ(std::count(tree.begin(), tree.end(), '\n'), NodeCount + 1) << "one line a node, expanded or not";
  Form1->TreeView1->SetTopItem(Node("G11"));
  const std::string top = Form1->TreeView1->TopItem()->Text();
  Form1->RefreshBtnClick(nullptr);
  EXPECT_EQ(Form1->TreeView1->Selected(), Node("G12a"));
  EXPECT_EQ(Form1->TreeView1->TopItem()->Text(), top);
  for (const char* name : {"Top", "C3", "G12"}) EXPECT_TRUE(Node(name)->Expanded()) << name;
  PressKey(VK_LEFT);  // up to G12
  PressKey(VK_LEFT);  // the user's collapse, which F5's rebuild keeps
  ASSERT_TRUE(PumpUntil(*app_, [&] { return !Node("G12")->Expanded(); }));
  fixture_->Command("destroy|G1");  // gone from the tree once F5 has rebuilt it
  PressKey(VK_F5);
  ASSERT_TRUE(PumpUntil(*app_, [&] { return Node("G1") == nullptr; }));
  EXPECT_EQ(Form1->TreeView1->Selected(), Node("G12"));
  EXPECT_FALSE(Node("G12")->Expanded());
  fixture_->Command("destroy|G12");  // nothing selected after the filter's rebuild
  Form1->OnlyShownMenuItem1Click(Form1->Onlyshownwindows1);
  EXPECT_EQ(Form1->TreeView1->Selected(), nullptr);
  EXPECT_TRUE(Node("C3")->Expanded());
}

void CALLBACK PressMOnceTheMenuIsOpen(HWND, UINT, UINT_PTR, DWORD) {
  if (FindThreadWindow(::GetCurrentThreadId(), L"#32768")) PressKey('M');
}

// As a user does it: a right click on a node, the item's letter, and the
// real message box read and closed.
TEST_F(ElementActionsTest, TheMenuDrivenByMouseAndKeyboard) {
  Select("C3");
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetForegroundWindow() == Form1->Handle(); }, kWaitMs));
  RECT r{};
  const HTREEITEM item = Form1->TreeView1->Selected()->Handle();
  std::memcpy(&r, &item, sizeof item);
  ASSERT_TRUE(::SendMessageW(Form1->TreeView1->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
  POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ::ClientToScreen(Form1->TreeView1->Handle(), &at);
  unexpected_.reset();  // the real box, this time
  MessageBoxReader boxes;
  // Once the menu is open, M chooses "Make PathString".
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &PressMOnceTheMenuIsOpen);
  RightClickAt(at);
  EXPECT_TRUE(PumpUntil(*app_, [&] { return !boxes.Texts().empty(); }, kWaitMs));
  ::KillTimer(nullptr, timer);
  Settle(*app_);
  EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{L"PathString is: \"n3\"."});
}

TEST_F(ElementActionsTest, TheMainWindowAsUsersExpectIt) {
  // F5 rebuilds the tree: a window made since then is listed.
  fixture_->Command("top|Late|VexlanActTop|Late");
  ASSERT_FALSE(Form1->Findnodebyhandle(fixture_->Id("Late")));
  Form1->Show();
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetForegroundWindow() == Form1->Handle(); }));
  Form1->TreeView1->SetFocus();
  PressKey(VK_F5);
  EXPECT_TRUE(PumpUntil(*app_, [&] { return Form1->Findnodebyhandle(fixture_->Id("Late")); }));

  // After a rebuild nothing is selected; Down selects the first node.
  Form1->RefreshBtnClick(nullptr);
  Form1->Show();
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetForegroundWindow() == Form1->Handle(); }));
  Form1->TreeView1->SetFocus();
  Form1->TreeView1->SetSelected(nullptr);
  PressKey(VK_DOWN);
  EXPECT_TRUE(PumpUntil(*app_, [] { return Form1->TreeView1->Selected() == NodeList[0].Node; }))
      << FocusName() << " " << (Form1->TreeView1->Selected() ? Form1->TreeView1->Selected()->Text() : "(none)");

  // The window cannot be made so small that the bar's controls are cut off.
  MINMAXINFO info{};
  ::SendMessageW(Form1->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  RECT frame{0, 0, 0, 0};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(Form1->Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(Form1->Handle(), GWL_EXSTYLE)));
  EXPECT_GE(info.ptMinTrackSize.x - (frame.right - frame.left), 495);
  EXPECT_GE(info.ptMinTrackSize.y - (frame.bottom - frame.top), 27 + 4 * 16);
}

}  // namespace
}  // namespace vexlan
