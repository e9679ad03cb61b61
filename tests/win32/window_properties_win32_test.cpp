// The Window Properties dialog against windows of another process: what it
// shows is what the system reports for them.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
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
using WindowPropertiesTest = FormsNextToFixtureTest;

// The value of the dialog's line `name`.
std::string Shown(const std::string& name) {
  for (const std::string& line : Form5->Lines()) {
    if (line.rfind(name + ": ", 0) == 0) return line.substr(name.size() + 2);
  }
  return "(no line)";
}

std::string Hex(const char* format, unsigned long value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Opened by Alt+Enter, it follows the selection, to hung and destroyed windows too.
TEST_F(WindowPropertiesTest, ShowsWhatTheSystemReportsAndFollowsTheSelection) {
  Start({"top|Top|VexlanPropsTop|Properties top", "child|Btn|Top|BUTTON|Press me", "hung|H|Frozen"});
  app_->CreateForm(Form5);
  const HWND top = fixture_->Handle("Top"), button = fixture_->Handle("Btn");
  ::SetWindowPos(top, nullptr, 300, 200, 240, 120, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("Top")));
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetFocus() == Form1->TreeView1->Handle(); }));
  PressKey(VK_RETURN, {VK_MENU});
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::IsWindowVisible(Form5->Handle()); }));
  RECT client{};
  ::GetClientRect(top, &client);
  const std::string w = std::to_string(client.right), h = std::to_string(client.bottom);
  wchar_t image[MAX_PATH] = {};
  ::GetFullPathNameW(L"" VEXLAN_FIXTURE_EXE, MAX_PATH, image, nullptr);
  const std::map<std::string, std::string> expected = {
      {"Class", "VexlanPropsTop"}, {"Caption", "Properties top"}, {"Rectangle", "300, 200 - 540, 320 (240 x 120)"},
      {"Client", "0, 0 - " + w + ", " + h + " (" + w + " x " + h + ")"},
      {"Style", Hex("%08lX", ::GetWindowLongW(top, GWL_STYLE)) + " WS_OVERLAPPED WS_VISIBLE WS_CLIPSIBLINGS WS_CAPTION"
                " WS_SYSMENU WS_THICKFRAME WS_MINIMIZEBOX WS_MAXIMIZEBOX"},
      {"Parent", "0"}, {"Visible", "yes"}, {"Topmost", "no"}, {"Responding", "yes"},
      // Wine: every process reads elevated, at integrity level High.
      {"Integrity", "High (Vexlan: High)"}, {"Elevated", "yes (Vexlan: yes)"},
      {"Process", std::to_string(fixture_->ProcessId()) + " " + Utf16ToUtf8(reinterpret_cast<char16_t*>(image))},
  };
  for (const auto& [name, value] : expected) EXPECT_EQ(Shown(name), value) << name;
  ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("Btn")));
  EXPECT_EQ(Shown("Style"), Hex("%08lX", ::GetWindowLongW(button, GWL_STYLE)) + " WS_CHILD WS_VISIBLE BS_PUSHBUTTON");
  EXPECT_EQ(Shown("ID"), std::to_string(::GetDlgCtrlID(button)));
  EXPECT_EQ(Shown("Parent"), std::to_string(fixture_->Id("Top")));
  ::SendMessageW(Form5->CopyBtn->Handle(), BM_CLICK, 0, 0);
  std::string joined;
  for (const std::string& line : Form5->Lines()) joined += (joined.empty() ? "" : "\r\n") + line;
  EXPECT_EQ(ClipboardText(Form5->Handle()), joined);
  EXPECT_EQ(Form5->properties->Text(), joined);
  ::SetWindowPos(Form5->Handle(), nullptr, 0, 0, 20, 20, SWP_NOMOVE | SWP_NOZORDER);  // never smaller than its buttons
  ::GetClientRect(Form5->Handle(), &client);
  EXPECT_LE(RectIn(Form5->CopyBtn->Handle(), Form5->Handle()).right, client.right);
  ASSERT_TRUE(PumpUntil(*app_, [&] { return ::IsHungAppWindow(fixture_->Handle("H")) != FALSE; }, 15000));
  ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("H")));
  EXPECT_EQ(Shown("Caption"), "Frozen") << "a message sent, and not answered";
  EXPECT_EQ(Shown("Responding"), "no");
  fixture_->Command("destroy|Btn");
  ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("Btn")));
  ::SendMessageW(Form5->RefreshBtn->Handle(), BM_CLICK, 0, 0);
  const std::string gone = std::to_string(fixture_->Id("Btn")) + Hex(" (%lX)", fixture_->Id("Btn"));
  EXPECT_EQ(Form5->Lines(), (std::vector<std::string>{"Handle: " + gone, "The window no longer exists."}));
}

// A tree view of another process shows its TVS_ flags, every bit named by
// its class. "Parent:" is a link: a click on it, then Enter on it, select
// the parent's node and the dialog follows, up to a top-level window, whose
// bar links nothing.
TEST_F(WindowPropertiesTest, ATreeViewsStylesAreNamedAndItsParentLinkLeadsUp) {
  Start({"top|Top|VexlanPropsTop|Properties top", "child|Mid|Top|VexlanPropsMid|Middle", "treeview|Tree|Mid|47"});
  app_->CreateForm(Form5);
  const DWORD style = static_cast<DWORD>(::GetWindowLongW(fixture_->Handle("Tree"), GWL_STYLE));
  ASSERT_EQ(style & 0xFFFF, 0x2Fu) << "buttons, lines, lines at root, edit labels, selection always shown";
  ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("Tree")));
  Form1->Properties1Click(nullptr);
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::IsWindowVisible(Form5->Handle()); }));
  EXPECT_EQ(Shown("Style"), Hex("%08lX", style) + " WS_CHILD WS_VISIBLE WS_BORDER" +
                                " TVS_SHOWSELALWAYS TVS_EDITLABELS TVS_LINESATROOT TVS_HASLINES TVS_HASBUTTONS");
  EXPECT_EQ(Form5->links->Caption(),
            "Parent: <a id=\"parent\">" + std::to_string(fixture_->Id("Mid")) + "</a>    Owner: none");
  for (const char* expected : {"Mid", "Top"}) {
    ::SetForegroundWindow(Form5->Handle());
    Form5->links->SetFocus();
    ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetFocus() == Form5->links->Handle(); }));
    if (expected == std::string("Mid")) {
      // The link starts after "Parent: " in the control's font.
      const HWND link = Form5->links->Handle();
      const HDC dc = ::GetDC(link);
      const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(link, WM_GETFONT, 0, 0)));
      SIZE text{};
      ::GetTextExtentPoint32W(dc, L"Parent: ", 8, &text);
      ::SelectObject(dc, old);
      ::ReleaseDC(link, dc);
      POINT at{text.cx + 4, text.cy / 2};
      ::ClientToScreen(link, &at);
      ClickAt(at);
    } else {
      PressKey(VK_RETURN);
    }
    EXPECT_TRUE(PumpUntil(*app_, [&] { return Form1->SelectedHandle() == fixture_->Id(expected); })) << expected;
    EXPECT_EQ(Form5->Target(), fixture_->Id(expected));
  }
  EXPECT_EQ(Shown("Caption"), "Properties top");
  EXPECT_EQ(Form5->links->Caption(), "Parent: none    Owner: none");
}

// A caption holding a line break forges no line: in the dialog's Copy, in Copy tree and in Ctrl+C it
// stays in its own line, its control characters shown as their symbols.
TEST_F(WindowPropertiesTest, ACaptionWithALineBreakStaysOneLine) {
  Start({"top|Forge|VexlanForge|x\r\nProcess: 1 C:\\fake.exe"});
  app_->CreateForm(Form5);
  const std::string shown = "x\xE2\x90\x8D\xE2\x90\x8AProcess: 1 C:\\fake.exe";  // x␍␊Process: ...
  ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("Forge")));
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetFocus() == Form1->TreeView1->Handle(); }));
  const std::function<void()> copies[] = {
      [] {
        Form1->Properties1Click(nullptr);
        ::SendMessageW(Form5->CopyBtn->Handle(), BM_CLICK, 0, 0);
      },
      [] { Form1->Copytree1Click(nullptr); },
      [&] {
        ::SetForegroundWindow(Form1->Handle());
        Form1->TreeView1->SetFocus();
        PressKey('C', {VK_CONTROL});
        PumpUntil(*app_, [] { return !ClipboardText(nullptr).empty(); });
      },
  };
  for (const auto& copy : copies) {
    if (::OpenClipboard(nullptr)) {
      ::EmptyClipboard();
      ::CloseClipboard();
    }
    copy();
    const std::string text = ClipboardText(nullptr);
    EXPECT_NE(text.find(shown), std::string::npos) << text;
    EXPECT_EQ(text.find("\r\nProcess: 1 C:\\fake.exe"), std::string::npos) << "a forged line";
  }
  EXPECT_EQ(ClipboardText(nullptr).find('\n'), std::string::npos) << "Ctrl+C copies one line";
}

}  // namespace
}  // namespace vexlan
