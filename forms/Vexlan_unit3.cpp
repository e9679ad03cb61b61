#include "forms/Vexlan_unit3.h"

#include "forms/Vexlan_unit1.h"
#include "forms/core/Vexlan_unit3_layout.h"
#include "forms/layout_writers.h"
#include "platform/toolkit/win32/dialogs.h"
#include "winutil/ExtCntrlsUtils.h"
#include "winutil/handle_text.h"

namespace vexlan {

TForm3* Form3 = nullptr;

namespace {

constexpr PublishedMethod<TForm3> kMethods[] = {
    {"OnShow", &TForm3::OnShow},
    {"OnClose", &TForm3::OnClose},
    {"Timer1Timer", &TForm3::Timer1Timer},
    {"OnHotKey", &TForm3::OnHotKey},
    {"ShowBtnClick", &TForm3::ShowBtnClick},
};

constexpr THotKeyCode kKeyQ = 50;

// Writes the field only when its text changes: rewriting equal text ten
// times a second makes it flicker and throws the caret back.
void ShowInField(TEdit& field, const std::string& text) {
  if (field.Text() != text) field.SetText(text);
}

}  // namespace

TForm3::TForm3(TComponent* owner) : TForm(owner), platform_(Platform()) {
  ReadForm(Form3Layout());
  Label1 = &LayoutComponent<TLabel>(*this, "Label1");
  Label5 = &LayoutComponent<TLabel>(*this, "Label5");
  Label2 = &LayoutComponent<TLabel>(*this, "Label2");
  handle = &LayoutComponent<TEdit>(*this, "handle");
  ShowBtn = &LayoutComponent<TButton>(*this, "ShowBtn");
  Label3 = &LayoutComponent<TLabel>(*this, "Label3");
  classname = &LayoutComponent<TEdit>(*this, "classname");
  Label4 = &LayoutComponent<TLabel>(*this, "Label4");
  windowname = &LayoutComponent<TEdit>(*this, "windowname");
  Timer1 = &LayoutComponent<TTimer>(*this, "Timer1");
  SysHotKey1 = &LayoutComponent<TSysHotKey>(*this, "SysHotKey1");
  // What the user types into the handle field is theirs until the focus
  // leaves it; Enter there presses "Show" as it does elsewhere in the form.
  handle->OnKeyPress = [this](TObject*, char16_t& key) {
    if (key != u'\r') {
      typing_ = true;
      return;
    }
    key = 0;
    ShowBtn->Click();
  };
}

TForm3::~TForm3() {
  if (Form3 == this) Form3 = nullptr;
}

TPublishedHandler TForm3::FindMethod(std::string_view name) { return FindPublishedMethod(*this, kMethods, name); }

// The picker hides the main form, whose taskbar button goes with it; the
// picker, owned by the main form, has none of its own unless it asks. Set
// while the picker is hidden: the taskbar looks at the style when a window
// is shown.
void TForm3::SetTaskbarButton(bool on) {
  const HWND hwnd = Handle();
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, on ? (style | WS_EX_APPWINDOW) : (style & ~LONG_PTR{WS_EX_APPWINDOW}));
}

void TForm3::OnShow(TObject*) {
  typing_ = false;
  SetTaskbarButton(true);
  if (Form1) Form1->Hide();
  Timer1->SetEnabled(true);
  SysHotKey1->AddHotKey(kKeyQ, hmCtrl);
  SysHotKey1->SetActive(true);
  sight_.Opened(Handle());
}

void TForm3::OnClose(TObject*) {
  SetTaskbarButton(false);
  if (Form1) Form1->Show();
  Timer1->SetEnabled(false);
  SysHotKey1->SetActive(false);
  sight_.Closed(Handle());
}

void TForm3::Timer1Timer(TObject*) {
  sight_.Keep();
  if (typing_ && handle->Focused()) return;
  typing_ = false;
  const auto at = platform_.Cursor().CursorPos();
  if (!at) return;
  const WindowHandle under = platform_.Cursor().WindowFromPoint(*at);
  if (under == 0) return;
  sight_.Pointed(under);
  WindowServices& windows = platform_.Windows();
  ShowInField(*handle, HandleDisplayText(under));
  ShowInField(*windowname, GetWindowCaption(windows, under));
  ShowInField(*classname, GetWindowClass(windows, under));
}

bool TForm3::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TForm3> table[] = {{WM_ACTIVATEAPP, &TForm3::WMActivateApp}};
  return DispatchTable(*this, table, message) || TForm::DispatchByNumber(message);
}

void TForm3::WMActivateApp(TMessage& message) {
  DefaultHandler(message);
  if (message.WParam == FALSE) sight_.Left();
}

void TForm3::OnHotKey(TObject*, int) {
  Timer1->SetEnabled(!Timer1->Enabled());
  sight_.SetFrozen(!Timer1->Enabled());
}

void TForm3::ShowBtnClick(TObject*) {
  const std::string text = handle->Text();
  if (text.empty()) return;
  Close();
  const WindowHandle wnd = HandleFromDisplayText(text);
  if (!Form1 || Form1->Findnodebyhandle(wnd)) return;
  // Most often a window opened since the tree was built: list it.
  if (platform_.Windows().Exists(wnd)) {
    Form1->RefreshBtnClick(this);
    if (Form1->Findnodebyhandle(wnd)) return;
  }
  ShowMessage("Handle not found.");
}

}  // namespace vexlan
