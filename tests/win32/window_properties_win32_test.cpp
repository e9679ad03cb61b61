// The Window Properties dialog against windows of another process: what it
// shows is what the system reports for them.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit5.h"
#include "platform/toolkit/win32/clipboard.h"
#include "platform/utf.h"
#include "tests/win32/forms_test_support.h"
#include "tests/win32/toolkit_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

class WindowPropertiesTest : public FormsNextToFixtureTest {
 protected:
  void SetUp() override {
    Start({"top|Top|VexlanPropsTop|Properties top", "child|Btn|Top|BUTTON|Press me"});
    app_->CreateForm(Form5);
  }

  // The dialog's lines by name.
  static std::map<std::string, std::string> Shown() {
    std::map<std::string, std::string> by_name;
    for (const std::string& line : Form5->Lines()) {
      const auto colon = line.find(": ");
      if (colon != std::string::npos) by_name[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return by_name;
  }
  static std::string Hex8(LONG_PTR value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(value & 0xFFFFFFFF));
    return text;
  }
};

// Opened by Alt+Enter on the tree, it follows the selection to the child;
// Copy puts the lines on the clipboard; a destroyed window says it is gone.
TEST_F(WindowPropertiesTest, ShowsWhatTheSystemReportsAndFollowsTheSelection) {
  const HWND top = fixture_->Handle("Top");
  const HWND button = fixture_->Handle("Btn");
  ::SetWindowPos(top, nullptr, 300, 200, 240, 120, SWP_NOZORDER | SWP_NOACTIVATE);
  Form1->RefreshBtnClick(nullptr);
  ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("Top")));
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetFocus() == Form1->TreeView1->Handle(); }));
  PressKey(VK_RETURN, {VK_MENU});
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::IsWindowVisible(Form5->Handle()); }));

  RECT client{};
  ::GetClientRect(top, &client);
  wchar_t image[MAX_PATH] = {};
  ::GetFullPathNameW(L"" VEXLAN_FIXTURE_EXE, MAX_PATH, image, nullptr);
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  std::map<std::string, std::string> shown = Shown();
  const std::map<std::string, std::string> expected_top = {
      {"Class", "VexlanPropsTop"},
      {"Caption", "Properties top"},
      {"Rectangle", "300, 200 - 540, 320 (240 x 120)"},
      {"Client", "0, 0 - " + std::to_string(client.right) + ", " + std::to_string(client.bottom) + " (" +
                     std::to_string(client.right) + " x " + std::to_string(client.bottom) + ")"},
      {"Style", Hex8(::GetWindowLongPtrW(top, GWL_STYLE)) +
                    " WS_OVERLAPPED WS_VISIBLE WS_CLIPSIBLINGS WS_CAPTION WS_SYSMENU WS_THICKFRAME WS_MINIMIZEBOX "
                    "WS_MAXIMIZEBOX"},
      {"ID", "none"},
      {"Parent", "0"},
      {"Process", std::to_string(fixture_->ProcessId()) + " " + Utf16ToUtf8(reinterpret_cast<char16_t*>(image))},
      {"Visible", "yes"},
      {"Topmost", "no"},
      {"Responding", "yes"},
      {"DPI", std::to_string(dpi)},
  };
  for (const auto& [name, value] : expected_top) EXPECT_EQ(shown[name], value) << name;
  EXPECT_EQ(Form5->Lines().size(), 22u);

  ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("Btn")));
  EXPECT_EQ(Form5->Target(), fixture_->Id("Btn"));
  shown = Shown();
  EXPECT_EQ(shown["Style"], Hex8(::GetWindowLongPtrW(button, GWL_STYLE)) + " WS_CHILD WS_VISIBLE BS_PUSHBUTTON");
  EXPECT_EQ(shown["ID"], std::to_string(::GetDlgCtrlID(button)));
  EXPECT_EQ(shown["Parent"], std::to_string(fixture_->Id("Top")));
  EXPECT_EQ(shown["Caption"], "Press me");

  ::SendMessageW(Form5->CopyBtn->Handle(), BM_CLICK, 0, 0);
  std::string joined;
  for (const std::string& line : Form5->Lines()) joined += (joined.empty() ? "" : "\r\n") + line;
  EXPECT_EQ(ClipboardText(Form5->Handle()), joined);
  EXPECT_EQ(Form5->properties->Text(), joined);

  // Sizeable, and the list fills what the buttons leave.
  ::SetWindowPos(Form5->Handle(), nullptr, 0, 0, 600, 500, SWP_NOMOVE | SWP_NOZORDER);
  ::GetClientRect(Form5->Handle(), &client);
  EXPECT_EQ(Form5->properties->BoundsRect().Width, client.right);
  ::SetWindowPos(Form5->Handle(), nullptr, 0, 0, 20, 20, SWP_NOMOVE | SWP_NOZORDER);
  ::GetClientRect(Form5->Handle(), &client);
  EXPECT_LE(RectIn(Form5->CopyBtn->Handle(), Form5->Handle()).right, client.right) << "never smaller than its buttons";
  EXPECT_EQ(::GetWindow(Form5->Handle(), GW_OWNER), Form1->Handle());

  fixture_->Command("destroy|Btn");
  ::SendMessageW(Form5->RefreshBtn->Handle(), BM_CLICK, 0, 0);
  char handle[40];
  std::snprintf(handle, sizeof handle, "Handle: %d (%X)", fixture_->Id("Btn"), static_cast<unsigned>(fixture_->Id("Btn")));
  EXPECT_EQ(Form5->Lines(), (std::vector<std::string>{handle, "The window no longer exists."}));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil(*app_, [] { return !::IsWindowVisible(Form5->Handle()); }));
}

// A window whose thread stopped answering is read at once, and the system's
// own test says it does not respond.
TEST_F(WindowPropertiesTest, AHungWindowIsReadAtOnce) {
  fixture_->Command("hung|H|Frozen");
  const HWND hung = fixture_->Handle("H");
  ASSERT_TRUE(PumpUntil(*app_, [&] { return ::IsHungAppWindow(hung) != FALSE; }, 15000));
  Form1->RefreshBtnClick(nullptr);
  ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("H")));
  const Responsiveness seen = WhileAnswering(*app_, Form1->Handle(), [] { Form1->Properties1Click(nullptr); });
  EXPECT_LT(seen.took, std::chrono::milliseconds(5 * kSendTimeoutMs));
  EXPECT_EQ(seen.unanswered, 0);
  std::map<std::string, std::string> shown = Shown();
  EXPECT_EQ(shown["Caption"], "Frozen");
  EXPECT_EQ(shown["Responding"], "no");
}

}  // namespace
}  // namespace vexlan
