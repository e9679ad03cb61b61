// Standard controls are ours through comctl32's subclassing: another
// module's subclass over ours neither hides the control from us nor misses
// its messages, down to the last one.
#include "platform/toolkit/win32/window_binding.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/forms.h"
#include "platform/toolkit/win32/std_controls.h"

namespace vexlan {
namespace {

// Another module's subclass, installed the old way (its procedure in
// GWLP_WNDPROC, handing every message to the one it replaced), counting
// what passes.
WNDPROC g_replaced = nullptr;
int g_text_lengths = 0;
int g_nc_destroys = 0;

LRESULT CALLBACK ForeignSubclass(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_GETTEXTLENGTH) ++g_text_lengths;
  if (msg == WM_NCDESTROY) ++g_nc_destroys;
  return ::CallWindowProcW(g_replaced, hwnd, msg, wparam, lparam);
}

TEST(WindowBinding, AnotherSubclassOverAStandardControlLeavesItOursAndSeesEveryMessage) {
  TApplication app;
  auto form = std::make_unique<TForm>(nullptr);
  auto* edit = new TEdit(form.get());
  edit->SetParent(form.get());
  edit->SetText("typed");
  const HWND hwnd = edit->Handle();
  g_replaced = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignSubclass)));

  EXPECT_EQ(TWinControl::FromWindow(hwnd), edit);
  // Through the other subclass, ours, and the edit control's own procedure.
  EXPECT_EQ(::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0), 5);
  EXPECT_EQ(g_text_lengths, 1);

  form.reset();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(g_nc_destroys, 1);
}

}  // namespace
}  // namespace vexlan
