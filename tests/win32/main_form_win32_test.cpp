#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/toolkit/win32/gdi_canvas.h"
#include "platform/toolkit/win32/handles.h"
#include "tests/support/fake_control.h"
#include "tests/win32/toolkit_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

// What a pop-up menu showed while it was open.
struct MenuSeen {
  bool menu = false;
  std::vector<std::wstring> items;  // "-" for a separator
  bool filter_checked = false;      // the check mark of "&Only shown windows"
  RECT where{};                     // the menu window, in screen coordinates
};

// Runs `open`, then handles messages until a pop-up menu of this thread has
// appeared (the menu runs its own loop: a timer inside it reads the menu and
// closes it) or five seconds have passed.
MenuSeen seen;

void CALLBACK ReadAndCloseMenu(HWND, UINT, UINT_PTR, DWORD) {
  const HWND menu_window = FindThreadWindow(::GetCurrentThreadId(), L"#32768");
  if (!menu_window || seen.menu) return;
  seen.menu = true;
  ::GetWindowRect(menu_window, &seen.where);
  constexpr UINT kGetMenu = 0x01E1;  // MN_GETHMENU
  const auto menu = reinterpret_cast<HMENU>(::SendMessageW(menu_window, kGetMenu, 0, 0));
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[128] = {};
    const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    ::GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    seen.items.push_back(state & MF_SEPARATOR ? L"-" : text);
    if (std::wstring(text) == L"&Only shown windows") seen.filter_checked = (state & MF_CHECKED) != 0;
  }
  ::EndMenu();
}

MenuSeen WatchMenu(TApplication& app, const std::function<void()>& open) {
  seen = {};
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &ReadAndCloseMenu);
  open();
  PumpUntil(app, [] { return seen.menu; });
  ::KillTimer(nullptr, timer);
  Settle(app);
  return seen;
}

// A fresh application with the main form shown and active, its tree focused.
class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
    app_->CreateForm(form_);
    form_->Show();
    ASSERT_TRUE(PumpUntil(*app_, [&] { return ::GetForegroundWindow() == form_->Handle(); }))
        << "the main form did not become the foreground window";
    form_->TreeView1->SetFocus();
    Settle(*app_);
  }
  void TearDown() override { app_.reset(); }

  std::unique_ptr<TApplication> app_;
  TForm1* form_ = nullptr;
};

TEST_F(MainFormTest, WindowHasItsCaptionPlaceAndClass) {
  const HWND hwnd = form_->Handle();
  EXPECT_EQ(WindowText(hwnd), L"Vexlan v1.02");
  EXPECT_EQ(WindowClass(hwnd), L"TForm1");
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, 192);
  EXPECT_EQ(r.top, 109);
  EXPECT_EQ(r.right - r.left, 503);
  EXPECT_EQ(r.bottom - r.top, 489);
  EXPECT_TRUE(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_THICKFRAME) << "sizeable";
  EXPECT_TRUE(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  EXPECT_TRUE(::GetWindowLongPtrW(form_->AdvancedPanel1->Handle(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  EXPECT_EQ(app_->MainForm(), form_);
}

// An icon's pixels, drawn at `size` on white.
std::vector<COLORREF> IconPixels(HICON icon, int size) {
  const HDC screen = ::GetDC(nullptr);
  const HDC dc = ::CreateCompatibleDC(screen);
  const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size, size);
  const HGDIOBJ old = ::SelectObject(dc, bitmap);
  const RECT all{0, 0, size, size};
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) pixels.push_back(::GetPixel(dc, x, y));
  }
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  return pixels;
}

// The title bar, the taskbar and Alt+Tab show the program's own icon, at
// both of the sizes the system draws, not the system's default one.
TEST_F(MainFormTest, WindowShowsTheProgramsIcon) {
  const struct {
    int class_icon;
    int size_metric;
  } kIcons[] = {{GCLP_HICON, SM_CXICON}, {GCLP_HICONSM, SM_CXSMICON}};
  for (const auto& each : kIcons) {
    const int size = ::GetSystemMetrics(each.size_metric);
    SCOPED_TRACE(size);
    const auto shown = reinterpret_cast<HICON>(::GetClassLongPtrW(form_->Handle(), each.class_icon));
    ASSERT_NE(shown, nullptr);
    const auto own = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    ASSERT_NE(own, nullptr) << "the test program carries the icon";
    EXPECT_TRUE(IconPixels(shown, size) == IconPixels(own, size)) << "the window shows another icon";
    EXPECT_FALSE(IconPixels(shown, size) == IconPixels(::LoadIconW(nullptr, IDI_APPLICATION), size))
        << "the window shows the system's default icon";
    ::DestroyIcon(own);
  }
}

// The tree fills the client area above the 27-pixel bar, at the first size
// and after the user makes the window larger.
TEST_F(MainFormTest, TreeFillsClientAreaAboveTheBar) {
  for (SIZE outer : {SIZE{503, 489}, SIZE{800, 600}, SIZE{400, 300}}) {
    SCOPED_TRACE(::testing::Message() << outer.cx << "x" << outer.cy);
    ::SetWindowPos(form_->Handle(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    ::GetClientRect(form_->Handle(), &client);
    const RECT tree = RectIn(form_->TreeView1->Handle(), form_->Handle());
    const RECT bar = RectIn(form_->AdvancedPanel1->Handle(), form_->Handle());
    EXPECT_EQ(tree.left, 0);
    EXPECT_EQ(tree.top, 0);
    EXPECT_EQ(tree.right, client.right);
    EXPECT_EQ(tree.bottom, client.bottom - 27);
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.top, client.bottom - 27);
    EXPECT_EQ(bar.right, client.right);
    EXPECT_EQ(bar.bottom, client.bottom);
  }
}

TEST_F(MainFormTest, BarControlsStandAtTheirPlaces) {
  struct Case {
    TWinControl* control;
    RECT place;  // in the bar: left, top, right, bottom
    const wchar_t* window_class;
    const wchar_t* text;
  };
  const Case cases[] = {
      {form_->RefreshBtn, {0, 2, 87, 25}, L"Button", L"&Refresh"},
      {form_->FindBtn, {90, 2, 177, 25}, L"Button", L"&Find Element"},
      {form_->SearchBtn, {180, 2, 267, 25}, L"Button", L"&Search List"},
      {form_->ExitBtn, {270, 2, 361, 25}, L"Button", L"E&xit"},
      {form_->handle, {366, 4, 415, 25}, L"Edit", L""},
      {form_->ShowHandleBtn, {418, 4, 495, 23}, L"Button", L"&Show Handle"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control->Name());
    const HWND hwnd = c.control->Handle();
    EXPECT_EQ(::GetParent(hwnd), form_->AdvancedPanel1->Handle());
    const RECT r = RectIn(hwnd, form_->AdvancedPanel1->Handle());
    EXPECT_EQ(r.left, c.place.left);
    EXPECT_EQ(r.top, c.place.top);
    EXPECT_EQ(r.right, c.place.right);
    EXPECT_EQ(r.bottom, c.place.bottom);
    EXPECT_EQ(WindowText(hwnd), c.text);
    EXPECT_EQ(_wcsicmp(WindowClass(hwnd).c_str(), c.window_class), 0) << "class";
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    // Every control draws with the form's font.
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(font.lfHeight, -11);
  }
}

// The bar is the advanced panel with the stored values: no frame has a
// side, and the wallpaper has no picture, so it paints the form's colour
// over its whole area, as a plain bar would.
TEST_F(MainFormTest, BarIsTheStoredAdvancedPanelAndPaintsOnlyTheFormsColour) {
  TAdvancedPanel& bar = *form_->AdvancedPanel1;
  EXPECT_EQ(bar.Align(), alBottom);
  EXPECT_EQ(DecorationsOf(bar), (DecorationState{.Border = {.Sides = {}},
                                                 .BevelOuter = {.Sides = {}, .Style = bvRaised},
                                                 .BevelInner = {.Sides = {}}}));
  EXPECT_TRUE(bar.ParentColor());
  EXPECT_EQ(bar.Color(), clBtnFace);

  const TBounds client = bar.ClientRect();
  ASSERT_EQ(client.Height, 27);
  MemorySurface surface(client.Width, client.Height, 0x123456);
  {
    TGdiCanvas canvas(surface.dc());
    bar.PaintTo(canvas);
  }
  EXPECT_EQ(surface.CountOtherThan(RGBToPixel(::GetSysColor(COLOR_BTNFACE))), 0);
}

TEST_F(MainFormTest, TreeHasItsSettingsAndIsFilledAtCreation) {
  const HWND tree = form_->TreeView1->Handle();
  const auto style = ::GetWindowLongPtrW(tree, GWL_STYLE);
  EXPECT_TRUE(style & TVS_HASLINES);
  EXPECT_TRUE(style & TVS_HASBUTTONS);
  EXPECT_TRUE(style & TVS_LINESATROOT);
  EXPECT_FALSE(style & TVS_EDITLABELS) << "captions are read-only";
  EXPECT_EQ(::SendMessageW(tree, TVM_GETINDENT, 0, 0), 19);
  EXPECT_EQ(form_->TreeView1->PopupMenu(), form_->PopupMenu1);
  EXPECT_GT(form_->TreeView1->Items().Count(), 0) << "the creation handler lists the desktop";
  EXPECT_EQ(form_->TreeView1->Items().Count(), NodeCount);
}

TEST_F(MainFormTest, TabVisitsControlsInTabOrder) {
  ASSERT_EQ(FocusName(), "TreeView1");
  const char* forward[] = {"RefreshBtn", "ExitBtn", "FindBtn", "SearchBtn", "handle", "ShowHandleBtn", "TreeView1"};
  for (const char* expected : forward) {
    SCOPED_TRACE(expected);
    PressKey(VK_TAB);
    EXPECT_TRUE(PumpUntil(*app_, [&] { return FocusName() == expected; })) << "focus is on " << FocusName();
  }
  PressKey(VK_TAB, {VK_SHIFT});
  EXPECT_TRUE(PumpUntil(*app_, [&] { return FocusName() == "ShowHandleBtn"; })) << "Shift+Tab: " << FocusName();
}

// "&Search List" and "&Show Handle" share S: Alt+S moves the focus between
// them and presses neither; a letter of its own presses its button.
TEST_F(MainFormTest, AltLetterFocusesSharedAndPressesUnique) {
  int search_clicks = 0, show_clicks = 0, refresh_clicks = 0;
  form_->SearchBtn->OnClick = [&](TObject*) { ++search_clicks; };
  form_->ShowHandleBtn->OnClick = [&](TObject*) { ++show_clicks; };
  form_->RefreshBtn->OnClick = [&](TObject*) { ++refresh_clicks; };

  for (const char* expected : {"SearchBtn", "ShowHandleBtn", "SearchBtn"}) {
    SCOPED_TRACE(expected);
    PressKey('S', {VK_MENU});
    EXPECT_TRUE(PumpUntil(*app_, [&] { return FocusName() == expected; })) << "focus is on " << FocusName();
  }
  EXPECT_EQ(search_clicks + show_clicks, 0);

  PressKey('R', {VK_MENU});
  EXPECT_TRUE(PumpUntil(*app_, [&] { return refresh_clicks == 1; }));
  EXPECT_EQ(search_clicks + show_clicks, 0);

  PressKey('X', {VK_MENU});
  EXPECT_TRUE(PumpUntil(*app_, [&] { return app_->Terminated(); })) << "E&xit closes the main form";
}

// The menu's items, in order, as the menu window shows them.
const std::vector<std::wstring> kMenuItems = {
    L"Send Left &Click", L"Send &Right Click", L"-",   L"&Edit/View Text", L"-", L"&Show window",
    L"&Hide window", L"Hi&ghlight", L"C&lose window", L"Ch&ange", L"-", L"&Make PathString", L"Copy &tree", L"-",
    L"&Only shown windows", L"&Keep place on refresh", L"Li&ve tree", L"-", L"&Properties...",
    L"&Watch messages..."};

TEST_F(MainFormTest, OnlyShownWindowsItemTogglesItsCheckMark) {
  TMenuItem* item = form_->Onlyshownwindows1;
  ASSERT_EQ(form_->PopupMenu1->Items().Count(), 20);
  EXPECT_EQ(&form_->PopupMenu1->Items().Items(14), item);
  EXPECT_FALSE(item->Checked());
  for (bool expected : {true, false, true}) {
    item->Click();
    EXPECT_EQ(item->Checked(), expected);
  }
}

// The real pop-up menu, opened by a right click on a node: the node is
// selected first, the menu window appears with the item and its check mark,
// and closing it without a choice runs no handler.
TEST_F(MainFormTest, RightClickOnNodeSelectsItAndOpensTheMenu) {
  TTreeNodes& nodes = form_->TreeView1->Items();
  nodes.Clear();
  nodes.AddChild(nullptr, "first");
  TTreeNode* second = nodes.AddChild(nullptr, "second");
  form_->Onlyshownwindows1->SetChecked(true);
  Settle(*app_);

  RECT item_rect{};
  const HTREEITEM item = second->Handle();
  std::memcpy(&item_rect, &item, sizeof item);
  ASSERT_TRUE(::SendMessageW(form_->TreeView1->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&item_rect)));
  POINT at{(item_rect.left + item_rect.right) / 2, (item_rect.top + item_rect.bottom) / 2};
  ::ClientToScreen(form_->TreeView1->Handle(), &at);

  int clicks = 0;
  form_->Onlyshownwindows1->OnClick = [&](TObject*) { ++clicks; };
  const MenuSeen seen = WatchMenu(*app_, [&] { RightClickAt(at); });

  EXPECT_TRUE(seen.menu) << "no pop-up menu window appeared";
  EXPECT_EQ(seen.items, kMenuItems);
  EXPECT_TRUE(seen.filter_checked);
  EXPECT_EQ(form_->TreeView1->Selected(), second);
  EXPECT_EQ(FindThreadWindow(::GetCurrentThreadId(), L"#32768"), nullptr) << "the menu is still open";
  EXPECT_EQ(clicks, 0);
}

// The menu key and Shift+F10 open the menu at the selected node.
TEST_F(MainFormTest, KeyboardOpensTheMenuOnTheTree) {
  TTreeNode* node = form_->TreeView1->Items().AddChild(nullptr, "only");
  form_->TreeView1->SetSelected(node);
  struct Case {
    const char* keys;
    std::function<void()> press;
  };
  const Case cases[] = {{"menu key", [] { PressKey(VK_APPS); }},
                        {"Shift+F10", [] { PressKey(VK_F10, {VK_SHIFT}); }}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    const MenuSeen seen = WatchMenu(*app_, c.press);
    EXPECT_TRUE(seen.menu) << "no pop-up menu window appeared";
    RECT tree{};
    ::GetWindowRect(form_->TreeView1->Handle(), &tree);
    EXPECT_TRUE(::PtInRect(&tree, POINT{seen.where.left, seen.where.top}))
        << "menu at " << seen.where.left << "," << seen.where.top;
    EXPECT_EQ(seen.items, kMenuItems);
    EXPECT_FALSE(seen.filter_checked);
  }
}

// Enter presses the button that has the focus, although the dialog keys
// report it to the form rather than to the bar that holds the button.
TEST_F(MainFormTest, EnterPressesTheFocusedButton) {
  int clicks = 0;
  form_->FindBtn->OnClick = [&](TObject*) { ++clicks; };
  for (int i = 0; i < 3; ++i) PressKey(VK_TAB);
  ASSERT_TRUE(PumpUntil(*app_, [&] { return FocusName() == "FindBtn"; })) << "focus is on " << FocusName();
  PressKey(VK_RETURN);
  EXPECT_TRUE(PumpUntil(*app_, [&] { return clicks == 1; }));
  Settle(*app_);
  EXPECT_EQ(clicks, 1);
}

// The program itself: started as its own process, its main window appears
// where it belongs, and the close box ends it with exit code 0.
TEST(VexlanProgram, CloseBoxEndsTheProcessWithExitCodeZero) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring command = L"" VEXLAN_PROGRAM_EXE;
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      << "cannot start " << VEXLAN_PROGRAM_EXE << " (error " << ::GetLastError() << ")";
  UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);

  HWND main_window = nullptr;
  for (int i = 0; i < 600 && !main_window; ++i) {
    main_window = FindThreadWindow(pi.dwThreadId, L"TForm1");
    if (!main_window) ::Sleep(50);
  }
  if (!main_window) ::TerminateProcess(process.get(), 99);
  ASSERT_NE(main_window, nullptr) << "the main window did not appear";
  EXPECT_EQ(WindowText(main_window), L"Vexlan v1.02");
  RECT r{};
  ::GetWindowRect(main_window, &r);
  EXPECT_EQ(r.left, 192);
  EXPECT_EQ(r.top, 109);

  ::PostMessageW(main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
  const DWORD waited = ::WaitForSingleObject(process.get(), 30000);
  if (waited != WAIT_OBJECT_0) ::TerminateProcess(process.get(), 99);
  ASSERT_EQ(waited, WAIT_OBJECT_0) << "the program did not end";
  DWORD code = 1;
  ::GetExitCodeProcess(process.get(), &code);
  EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace vexlan
