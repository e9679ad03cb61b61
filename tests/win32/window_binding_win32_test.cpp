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

// Another module's subclass, counting what passes.
WNDPROC g_replaced = nullptr;
int g_text_lengths = 0;
int g_nc_destroys = 0;

void Count(UINT msg) {
  if (msg == WM_GETTEXTLENGTH) ++g_text_lengths;
  if (msg == WM_NCDESTROY) ++g_nc_destroys;
}

// Put in the old way: its procedure in GWLP_WNDPROC, handing every message
// to the one it replaced.
LRESULT CALLBACK ForeignProcedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  Count(msg);
  return ::CallWindowProcW(g_replaced, hwnd, msg, wparam, lparam);
}

// Put in through comctl32, which keeps its own chain.
LRESULT CALLBACK ForeignSubclass(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  Count(msg);
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &ForeignSubclass, 7);
  return ::DefSubclassProc(hwnd, msg, wparam, lparam);
}

TEST(WindowBinding, AnotherSubclassOverAStandardControlLeavesItOursAndSeesEveryMessage) {
  struct Case {
    const char* name;
    void (*subclass)(HWND);
  };
  const Case cases[] = {
      {"by its window procedure",
       [](HWND hwnd) {
         g_replaced = reinterpret_cast<WNDPROC>(
             ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProcedure)));
       }},
      {"through comctl32", [](HWND hwnd) { ::SetWindowSubclass(hwnd, &ForeignSubclass, 7, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_text_lengths = g_nc_destroys = 0;
    TApplication app;
    auto form = std::make_unique<TForm>(nullptr);
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetText("typed");
    const HWND hwnd = edit->Handle();
    c.subclass(hwnd);

    EXPECT_EQ(TWinControl::FromWindow(hwnd), edit);
    // Through the other subclass, ours, and the edit control's own procedure.
    EXPECT_EQ(::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0), 5);
    EXPECT_EQ(edit->Text(), "typed");
    EXPECT_EQ(g_text_lengths, 2);

    form.reset();
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(g_nc_destroys, 1);
    EXPECT_EQ(TWinControl::FromWindow(hwnd), nullptr);
  }
}

}  // namespace
}  // namespace vexlan
