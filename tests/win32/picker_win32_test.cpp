// The Find Element picker with real input: the cursor moved over windows of
// another process, Ctrl+Q pressed through the system's input queue.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit3.h"
#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/toolkit/win32/dpi.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_window_services.h"
#include "tests/win32/support/fixture_process.h"
#include "tests/win32/toolkit_test_support.h"
#include "winutil/handle_text.h"
#include "winutil/highlight_frame_bands.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

// Ticks and hot keys come through the X server and wineserver: generous.
constexpr int kWaitMs = 10000;

class PickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture_ = std::make_unique<FixtureProcess>(std::vector<std::string>{
        "top|P1|VexlanPickOne|Picker one",
        "top|P2|VexlanPickTwo|Picker two",
        "hidden|keys|VexlanKeys|keys",
    });
    // Out of the way of the dialog, side by side.
    Place("P1", 700, 500);
    Place("P2", 950, 500);
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
    app_->CreateForm(Form1);
    app_->CreateForm(Form3);
    Form1->Show();
  }
  void TearDown() override {
    app_.reset();
    fixture_.reset();
  }

  void Place(const char* name, int x, int y) {
    ::SetWindowPos(fixture_->Handle(name), HWND_TOP, x, y, 200, 100, SWP_NOACTIVATE);
  }
  void MoveOver(const char* name) {
    RECT r{};
    ::GetWindowRect(fixture_->Handle(name), &r);
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  // Moves the cursor over the window and waits until the picker shows it.
  bool PointAt(const char* name) {
    MoveOver(name);
    return PumpUntil(*app_, [&] { return Shows(name); }, kWaitMs);
  }
  bool Shows(const char* name) const {
    return Form3->handle->Text() == HandleDisplayText(fixture_->Id(name)) &&
           Form3->windowname->Text() == WindowTextOf(name) && Form3->classname->Text() == ClassOf(name);
  }
  std::string WindowTextOf(const char* name) const { return name == std::string("P1") ? "Picker one" : "Picker two"; }
  std::string ClassOf(const char* name) const {
    return name == std::string("P1") ? "VexlanPickOne" : "VexlanPickTwo";
  }
  void PressCtrlQ() { PressKey('Q', {VK_CONTROL}); }
  TTreeNode* NodeOf(const char* name) const { return NodeList.NodeOf(fixture_->Id(name)); }

  std::unique_ptr<FixtureProcess> fixture_;
  std::unique_ptr<TApplication> app_;
};

// On top while shown, it frames the window under the cursor; the frame takes neither cursor nor activation.
TEST_F(PickerTest, FollowsTheCursorFreezesAndResumesWithCtrlQ) {
  Place("P1", 0, 0);  // its frame is pushed inside the screen, over its edge
  Form1->FindBtnClick(nullptr);
  EXPECT_TRUE(::IsWindowVisible(Form3->Handle()));
  EXPECT_FALSE(::IsWindowVisible(Form1->Handle())) << "the main form hides while the picker is shown";
  EXPECT_TRUE(::GetWindowLongPtrW(Form3->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  ASSERT_TRUE(PointAt("P1")) << Form3->handle->Text() << " / " << Form3->classname->Text();
  ::SetCursorPos(2, 50);
  Settle(*app_, 500);
  EXPECT_TRUE(Shows("P1")) << Form3->classname->Text();
  EXPECT_NE(WindowClass(::GetForegroundWindow()), L"VexlanHighlightFrame");
  ASSERT_TRUE(PointAt("P2"));
  // Ticks over the same window leave the fields alone: the caret stays.
  ::SendMessageW(Form3->windowname->Handle(), EM_SETSEL, 3, 3);
  Settle(*app_, 500);
  DWORD start = 0, end = 0;
  ::SendMessageW(Form3->windowname->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 3u);
  EXPECT_EQ(end, 3u);

  PressCtrlQ();
  ASSERT_TRUE(PumpUntil(*app_, [] { return !Form3->Timer1->Enabled(); }, kWaitMs)) << "Ctrl+Q did not freeze";
  MoveOver("P1");
  Settle(*app_, 1000);
  EXPECT_TRUE(Shows("P2")) << "frozen, yet it followed";
  RECT around = RectIn(fixture_->Handle("P2"), HWND_DESKTOP), frame{};
  const int w = HighlightWidth(DpiAtPoint(POINT{10, 10}));
  ::InflateRect(&around, w, w);
  EXPECT_EQ(ShownHighlightFrame(&frame), 4);
  EXPECT_TRUE(::EqualRect(&frame, &around)) << "not around the frozen window";

  PressCtrlQ();
  EXPECT_TRUE(PumpUntil(*app_, [] { return Form3->Timer1->Enabled(); }, kWaitMs)) << "Ctrl+Q did not resume";
  EXPECT_TRUE(PointAt("P1"));

  // A handle typed while it runs survives the ticks; Enter shows it.
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetForegroundWindow() == Form3->Handle(); }, kWaitMs));
  Form3->handle->SetFocus();
  ::SendMessageW(Form3->handle->Handle(), EM_SETSEL, 0, -1);  // typing replaces what it shows
  const std::string typed = std::to_string(fixture_->Id("P2"));
  for (char digit : typed) PressKey(digit == '-' ? VK_OEM_MINUS : static_cast<WORD>(digit));
  ASSERT_TRUE(PumpUntil(*app_, [&] { return Form3->handle->Text() == typed; }, kWaitMs));
  Settle(*app_, 1000);  // ten ticks over P1
  EXPECT_TRUE(Form3->Timer1->Enabled());
  EXPECT_EQ(Form3->handle->Text(), typed);
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil(*app_, [] { return !::IsWindowVisible(Form3->Handle()); }, kWaitMs));
  EXPECT_EQ(Form1->TreeView1->Selected(), NodeOf("P2"));
  // Closing shows the main form and gives Ctrl+Q back to the other programs.
  EXPECT_TRUE(::IsWindowVisible(Form1->Handle()));
  EXPECT_FALSE(Form3->Timer1->Enabled());
  EXPECT_EQ(ShownHighlightFrame(), 0);
  EXPECT_FALSE(::GetWindowLongPtrW(Form3->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NO_THROW(fixture_->Command(kFixtureTakesCtrlQ));
}

// What the user sees at a screen point: Wine reads the screen back from
// the X server, whose stacking may differ from the system's Z order.
COLORREF OnScreen(POINT at) {
  const HDC screen = ::GetDC(nullptr);
  const COLORREF seen = ::GetPixel(screen, at.x, at.y);
  ::ReleaseDC(nullptr, screen);
  return seen;
}

// A click on another program's window over the picker and the frame makes
// it the foreground; within two ticks, running or frozen, the picker and
// the frame are seen above it again, and it keeps the activation. Frozen,
// the frame follows its window's moves and sizes, and goes with it.
TEST_F(PickerTest, StaysInSightAndItsFrozenFrameFollowsItsWindow) {
  Form1->FindBtnClick(nullptr);
  ASSERT_TRUE(PointAt("P1"));
  int ticks = 0;
  const TNotifyEvent tick = Form3->Timer1->OnTimer;
  Form3->Timer1->OnTimer = [&](TObject* sender) { ++ticks, tick(sender); };
  RECT picker{}, frame{};
  ::GetWindowRect(Form3->Handle(), &picker);
  ASSERT_EQ(ShownHighlightFrame(&frame), 4);
  // P2 covers the picker's lower left corner and P1's frame's top band.
  ::SetWindowPos(fixture_->Handle("P2"), HWND_TOP, picker.left, picker.top, 600, 400, SWP_NOACTIVATE);
  const POINT on_picker{picker.left + 10, picker.bottom - 8}, on_band{frame.left + 50, frame.top + 1};
  for (const bool frozen : {false, true}) {
    SCOPED_TRACE(frozen ? "frozen" : "running");
    if (frozen) {
      ::SetForegroundWindow(Form3->Handle());
      ::SetCursorPos(890, 590);  // the corner of P1 that P2 leaves free
      ASSERT_TRUE(PumpUntil(*app_, [&] { return Shows("P1"); }, kWaitMs));
      PressCtrlQ();
      ASSERT_TRUE(PumpUntil(*app_, [] { return !Form3->Timer1->Enabled(); }, kWaitMs));
    }
    RightClickAt(POINT{picker.left + 100, picker.bottom + 100});  // on P2 alone
    ASSERT_TRUE(PumpUntil(*app_, [&] { return ::GetForegroundWindow() == fixture_->Handle("P2"); }, kWaitMs));
    ticks = 0;
    // Running, the frame has gone around P2 under the cursor.
    EXPECT_TRUE(PumpUntil(*app_, [&] {
      return OnScreen(on_picker) == ::GetSysColor(COLOR_BTNFACE) && (!frozen || OnScreen(on_band) == RGB(255, 0, 0));
    }, kWaitMs)) << std::hex << OnScreen(on_picker) << " " << OnScreen(on_band);
    EXPECT_LE(ticks, frozen ? 0 : 2) << "frozen, the picker's own timer stays stopped";
    EXPECT_EQ(::GetForegroundWindow(), fixture_->Handle("P2")) << "the picker took the activation";
  }
  const int w = HighlightWidth(DpiAtPoint(POINT{10, 10}));
  for (RECT to : {RECT{760, 560, 960, 660}, RECT{700, 500, 1000, 700}}) {
    ::SetWindowPos(fixture_->Handle("P1"), nullptr, to.left, to.top, to.right - to.left, to.bottom - to.top,
                   SWP_NOACTIVATE | SWP_NOZORDER);
    ::InflateRect(&to, w, w);
    EXPECT_TRUE(PumpUntil(*app_, [&] { return ShownHighlightFrame(&frame) == 4 && ::EqualRect(&frame, &to); },
                          kWaitMs)) << "the frozen frame stayed at " << frame.left << "," << frame.top;
  }
  fixture_->Command("destroy|P1");
  EXPECT_TRUE(PumpUntil(*app_, [] { return ShownHighlightFrame() == 0; }, kWaitMs)) << "the frame outlived its window";
  Form3->Close();
}

// With Ctrl+Q held by another program the picker runs, cannot freeze, and
// says nothing.
TEST_F(PickerTest, RunsButCannotFreezeWhenCtrlQIsTaken) {
  fixture_->Command(kFixtureTakesCtrlQ);
  Form1->FindBtnClick(nullptr);
  ASSERT_TRUE(PointAt("P1"));
  EXPECT_FALSE(Form3->SysHotKey1->HotKeys(0).Registered);
  EXPECT_TRUE(Form3->SysHotKey1->Active());
  PressCtrlQ();
  Settle(*app_, 1000);
  EXPECT_TRUE(Form3->Timer1->Enabled());
  EXPECT_TRUE(PointAt("P2"));
  Form3->Close();
  fixture_->Command(kFixtureReleasesCtrlQ);
}

// Each showing adds a Ctrl+Q entry; the first keeps the combination, and
// every showing starts running, frozen when last closed or not.
TEST_F(PickerTest, RepeatedShowingsKeepCtrlQWorking) {
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    Form1->FindBtnClick(nullptr);
    EXPECT_TRUE(Form3->Timer1->Enabled());
    EXPECT_TRUE(::GetWindowLongPtrW(Form3->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW) << "no taskbar button";
    if (i == 3) {
      PressCtrlQ();
      ASSERT_TRUE(PumpUntil(*app_, [] { return !Form3->Timer1->Enabled(); }, kWaitMs));
    }
    PressKey(VK_ESCAPE);  // closes it as the close box does
    ASSERT_TRUE(PumpUntil(*app_, [] { return !::IsWindowVisible(Form3->Handle()); }, kWaitMs));
    EXPECT_TRUE(::IsWindowVisible(Form1->Handle()));
    EXPECT_FALSE(Form3->SysHotKey1->Active());
    EXPECT_FALSE(::GetWindowLongPtrW(Form3->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
  }
  Form1->FindBtnClick(nullptr);
  EXPECT_EQ(Form3->SysHotKey1->HotKeyCount(), 6);
  EXPECT_TRUE(Form3->SysHotKey1->HotKeys(0).Registered);
  ASSERT_TRUE(PointAt("P1"));
  PressCtrlQ();
  EXPECT_TRUE(PumpUntil(*app_, [] { return !Form3->Timer1->Enabled(); }, kWaitMs));
  Form3->Close();
}

TEST_F(PickerTest, ShowSelectsThePointedWindowsNode) {
  struct Case {
    const char* what;
    std::function<void()> then;  // after pointing at P1 and freezing
    const char* selected;        // nullptr: the selection stays on P2
    bool closes;
  };
  const Case cases[] = {
      {"the pointed window", [] {}, "P1", true},
      {"a bare number the user typed", [&] { Form3->handle->SetText(std::to_string(fixture_->Id("P2"))); }, "P2",
       true},
      {"an empty field", [] { Form3->handle->SetText(""); }, nullptr, false},
      {"a window made after the tree",
       [&] {
         fixture_->Command("top|Late|VexlanPickTwo|Late");
         Form3->handle->SetText(HandleDisplayText(fixture_->Id("Late")));
       },
       "Late", true},
      {"a number that is no window", [] { Form3->handle->SetText("4"); }, nullptr, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("P2")));
    Form1->FindBtnClick(nullptr);
    ASSERT_TRUE(PointAt("P1"));
    PressCtrlQ();
    ASSERT_TRUE(PumpUntil(*app_, [] { return !Form3->Timer1->Enabled(); }, kWaitMs));
    c.then();
    std::vector<std::string> shown;
    {
      ScopedShowMessageHook hook([&](const std::string& text) { shown.push_back(text); });
      ::SendMessageW(Form3->ShowBtn->Handle(), BM_CLICK, 0, 0);
    }
    EXPECT_EQ(shown, std::vector<std::string>(c.closes && !c.selected, "Handle not found."));  // closed, none found
    EXPECT_EQ(!::IsWindowVisible(Form3->Handle()), c.closes);
    EXPECT_EQ(::IsWindowVisible(Form1->Handle()) != FALSE, c.closes);
    EXPECT_EQ(Form1->TreeView1->Selected(), NodeOf(c.selected ? c.selected : "P2"));
    if (!c.closes) Form3->Close();
  }
}

// Text that is no handle: the picker closes first, then the error is told.
TEST_F(PickerTest, ShowWithTextThatIsNoHandleClosesThenSaysSo) {
  Form1->FindBtnClick(nullptr);
  PressCtrlQ();
  ASSERT_TRUE(PumpUntil(*app_, [] { return !Form3->Timer1->Enabled(); }, kWaitMs));
  Form3->handle->SetText("4D2");
  std::vector<std::string> shown;
  bool closed_before_the_message = false;
  ScopedShowMessageHook hook([&](const std::string& text) {
    shown.push_back(text);
    closed_before_the_message = !::IsWindowVisible(Form3->Handle());
  });
  ::SendMessageW(Form3->ShowBtn->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rfind("'4D2' is not a window handle", 0), 0u) << shown[0];
  EXPECT_TRUE(closed_before_the_message);
  EXPECT_FALSE(Form3->SysHotKey1->Active());
}

TEST_F(PickerTest, DialogHasItsPlaceSizeAndTexts) {
  // 387 x 123, or wider where the face that draws the labels is wider.
  RECT client{};
  ::GetClientRect(Form3->Handle(), &client);
  EXPECT_GE(client.right, 387);
  EXPECT_GE(client.right, RectIn(Form3->Label5->Handle(), Form3->Handle()).right);
  EXPECT_EQ(client.bottom, 123);
  RECT outer{};
  ::GetWindowRect(Form3->Handle(), &outer);
  EXPECT_EQ(outer.left, 225);
  EXPECT_EQ(outer.top, 185);
  EXPECT_EQ(WindowText(Form3->Handle()), L"Find Element");
  EXPECT_EQ(WindowText(Form3->Label5->Handle()),
            L"The result can be freezed/resumed by pressing CTRL-Q (if the hotkey ain't busy).");
  EXPECT_EQ(Form3->Timer1->Interval(), 100u);
  EXPECT_FALSE(Form3->Timer1->Enabled());
  EXPECT_FALSE(Form3->SysHotKey1->Active());
}

}  // namespace
}  // namespace vexlan
