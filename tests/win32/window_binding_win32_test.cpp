// Standard controls are ours through a subclass of our own: another
// module's subclass over ours, put in either way, neither hides the control
// from us nor misses its messages, down to the last one.
#include "platform/toolkit/win32/window_binding.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>

#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/forms.h"
#include "platform/toolkit/win32/std_controls.h"

namespace vexlan {
namespace {

// Another module's subclass, counting what passes: put in the old way (its
// procedure in GWLP_WNDPROC, handing every message to the one it replaced)
// or through comctl32, which keeps a chain of its own.
WNDPROC g_replaced = nullptr;
int g_text_lengths = 0;
int g_nc_destroys = 0;

void Count(UINT msg) {
  g_text_lengths += msg == WM_GETTEXTLENGTH;
  g_nc_destroys += msg == WM_NCDESTROY;
}

LRESULT CALLBACK ForeignProcedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  Count(msg);
  return ::CallWindowProcW(g_replaced, hwnd, msg, wparam, lparam);
}

LRESULT CALLBACK ForeignSubclass(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  Count(msg);
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &ForeignSubclass, 7);
  return ::DefSubclassProc(hwnd, msg, wparam, lparam);
}

TEST(WindowBinding, AnotherSubclassOverAStandardControlLeavesItOursAndSeesEveryMessage) {
  for (const bool through_comctl32 : {false, true}) {
    SCOPED_TRACE(through_comctl32);
    g_text_lengths = g_nc_destroys = 0;
    TApplication app;
    auto form = std::make_unique<TForm>(nullptr);
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetText("typed");
    const HWND hwnd = edit->Handle();
    if (through_comctl32) {
      ::SetWindowSubclass(hwnd, &ForeignSubclass, 7, 0);
    } else {
      g_replaced = reinterpret_cast<WNDPROC>(
          ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProcedure)));
    }

    EXPECT_EQ(TWinControl::FromWindow(hwnd), edit);
    // Through the other subclass, ours, and the edit control's own procedure.
    EXPECT_EQ(::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0), 5);
    EXPECT_EQ(g_text_lengths, 1);

    form.reset();
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(g_nc_destroys, 1);
    EXPECT_EQ(TWinControl::FromWindow(hwnd), nullptr);
  }
}

}  // namespace
}  // namespace vexlan
