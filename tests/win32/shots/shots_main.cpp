// vexlan_shots: puts each of Vexlan's forms on the screen in a state worth
// showing, one scene at a time, for scripts/screenshots.sh to photograph.
//
// For each scene it prints one line, `scene NAME LEFT TOP WIDTH HEIGHT` (the
// screen rectangle to capture), then waits for a line on its standard input
// before it goes on; end of input ends it. The other windows come from the
// fixture program, as in the Wine tests.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <string>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit2.h"
#include "forms/Vexlan_unit3.h"
#include "forms/Vexlan_unit4.h"
#include "forms/Vexlan_unit5.h"
#include "forms/Vexlan_unit6.h"
#include "forms/Vexlan_unit7.h"
#include "forms/Vexlan_unit8.h"
#include "platform/toolkit/win32/application.h"
#include "platform/win32/win32_platform.h"
#include "tests/win32/support/fixture_process.h"
#include "tests/win32/toolkit_test_support.h"
#include "winutil/handle_text.h"

using namespace vexlan;
using vexlan::testing::FixtureProcess;

namespace {

RECT Union(std::initializer_list<HWND> windows) {
  RECT all{};
  for (HWND w : windows) {
    RECT r{};
    ::GetWindowRect(w, &r);
    ::UnionRect(&all, &all, &r);
  }
  return all;
}

// Shows the scene and waits until the photographer says it is done.
bool Scene(TApplication& app, const char* name, const RECT& r) {
  testing::Settle(app, 700);
  std::printf("scene %s %ld %ld %ld %ld\n", name, r.left, r.top, r.right - r.left, r.bottom - r.top);
  std::fflush(stdout);
  std::string line;
  return static_cast<bool>(std::getline(std::cin, line));
}

bool go_on = true;

void CALLBACK PhotographTheMenu(HWND, UINT, UINT_PTR id, DWORD) {
  const HWND menu = testing::FindThreadWindow(::GetCurrentThreadId(), L"#32768");
  if (!menu) return;
  ::KillTimer(nullptr, id);
  go_on = Scene(Application, "menu", Union({Form1->Handle(), menu}));
  ::EndMenu();
}

}  // namespace

int main() {
  try {
    FixtureProcess fixture({
        "top|Editor|VexlanDemoEditor|Untitled - Editor",
        "edit|Text|Editor|Dear reader,\r\nthis text belongs to another program.\r\nVexlan reads it with WM_GETTEXT.",
        "child|Button|Editor|Button|OK",
        "top|Other|VexlanDemoFrame|Totals (old)",
        "top|World|VexlanDemoWorld|Café crème – Ελληνικά – Русский",
        "child|Hebrew|World|VexlanDemoWorld|עברית",
        "child|Chinese|World|VexlanDemoWorld|中文窗口",
        "child|Japanese|World|VexlanDemoWorld|日本語のウィンドウ",
        "edit|WorldText|World|Grüße · Ελληνικά · Русский · עברית · 中文 · 日本語",
    });
    // Just below where the Find Element dialog stands.
    ::SetWindowPos(fixture.Handle("Editor"), HWND_TOP, 225, 345, 393, 170, SWP_NOACTIVATE);
    ::SetWindowPos(fixture.Handle("Text"), nullptr, 8, 8, 270, 80, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(fixture.Handle("Button"), nullptr, 290, 8, 80, 25, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(fixture.Handle("Other"), HWND_BOTTOM, 700, 600, 200, 100, SWP_NOACTIVATE);
    ::SetWindowPos(fixture.Handle("World"), HWND_BOTTOM, 700, 720, 200, 100, SWP_NOACTIVATE);

    const ScopedPlatform platform(SystemPlatform());
    TApplication& app = Application;
    app.Initialize();
    app.CreateForm(Form1);
    app.CreateForm(Form2);
    app.CreateForm(Form3);
    app.CreateForm(Form4);
    app.CreateForm(Form5);
    app.CreateForm(Form7);
    app.CreateForm(Form8);
    Form1->Show();
    Form1->Findnodebyhandle(fixture.Id("Japanese"));
    Form1->Findnodebyhandle(fixture.Id("Button"));
    if (!Scene(app, "main", Union({Form1->Handle()}))) return 0;

    Form4->handle->SetText("");
    Form4->classname->SetText("Button");
    Form4->windowname->SetText("Editor");
    // The pop-up menu runs its own loop: a timer inside it takes the picture.
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 700, &PhotographTheMenu);
    {
      const HTREEITEM item = Form1->TreeView1->Selected()->Handle();
      RECT r{};
      std::memcpy(&r, &item, sizeof item);
      ::SendMessageW(Form1->TreeView1->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
      POINT at{r.left + 20, (r.top + r.bottom) / 2};
      ::ClientToScreen(Form1->TreeView1->Handle(), &at);
      Form1->PopupMenu1->PopupFor(*Form1->TreeView1, at.x, at.y);
    }
    ::KillTimer(nullptr, timer);
    if (!go_on) return 0;

    Form1->SearchBtnClick(nullptr);
    if (!Scene(app, "search", Union({Form1->Handle(), Form4->Handle()}))) return 0;
    Form4->Close();

    Form2->SetTarget(fixture.Id("Text"));
    Form2->Show();
    if (!Scene(app, "text", Union({Form2->Handle()}))) return 0;
    Form2->SetTarget(fixture.Id("WorldText"));
    Form2->Close();
    Form2->Show();
    if (!Scene(app, "text-scripts", Union({Form2->Handle()}))) return 0;
    Form2->Close();

    Form1->Properties1Click(nullptr);
    if (!Scene(app, "properties", Union({Form1->Handle(), Form5->Handle()}))) return 0;
    Form5->Close();

    // The Messages window on the editor and its children while someone works in it.
    {
      WatchMessages(&app, fixture.Id("Editor"));
      TForm6* messages = MessagesForms().back();
      messages->ChildrenBox->SetChecked(true);
      messages->ChildrenBoxClick(nullptr);
      const TBounds b = messages->BoundsRect();
      messages->SetBounds(20, 20, b.Width, b.Height);
      // The editor just below the Messages window, whatever the DPI made of it.
      ::SetWindowPos(fixture.Handle("Editor"), HWND_TOP, 20, 30 + b.Height, 393, 170, SWP_NOACTIVATE);
      RECT editor{};
      ::GetWindowRect(fixture.Handle("Editor"), &editor);
      for (int i = 0; i < 6; ++i) {
        ::SetCursorPos(editor.left + 60 + 25 * i, editor.top + 60 + 4 * i);
        testing::Settle(app, 60);
      }
      ::PostMessageW(fixture.Handle("Button"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 8));
      ::PostMessageW(fixture.Handle("Button"), WM_LBUTTONUP, 0, MAKELPARAM(10, 8));
      fixture.Sync();
      fixture.Command("type|Text|Dear reader, hello again.");
      fixture.Command("caption|Editor|Untitled - Editor *");
      testing::Settle(app, 300);
      messages->DrainNow();
      if (!Scene(app, "messages", Union({messages->Handle(), fixture.Handle("Editor")}))) return 0;
      messages->Close();
    }

    Form1->Moveandsize1Click(nullptr);
    if (!Scene(app, "move-size", Union({Form7->Handle()}))) return 0;
    Form7->Close();
    Form1->Styles1Click(nullptr);
    if (!Scene(app, "styles", Union({Form8->Handle()}))) return 0;
    Form8->Close();

    Form1->FindBtnClick(nullptr);
    {
      // The other program just below the dialog, whatever the DPI made of it.
      RECT dialog{};
      ::GetWindowRect(Form3->Handle(), &dialog);
      ::SetWindowPos(fixture.Handle("Editor"), HWND_TOP, dialog.left, dialog.bottom + 2, dialog.right - dialog.left,
                     (dialog.bottom - dialog.top) * 6 / 5, SWP_NOACTIVATE);
      testing::Settle(app, 300);
    }
    RECT target{};
    ::GetWindowRect(fixture.Handle("Button"), &target);
    ::SetCursorPos((target.left + target.right) / 2, (target.top + target.bottom) / 2);
    ::SetFocus(Form3->ShowBtn->Handle());
    testing::Settle(app, 500);
    Form3->Timer1->SetEnabled(false);  // as Ctrl+Q would: frozen on the button
    ::SetCursorPos(Form3->BoundsRect().Left + 180, Form3->BoundsRect().Top + 75);
    if (!Scene(app, "picker", Union({Form3->Handle(), fixture.Handle("Editor")}))) return 0;
    Form3->Close();

    Application.DestroyComponents();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vexlan_shots: %s\n", e.what());
    return 1;
  }
  return 0;
}
