#include "platform/win32/forms.h"

#include <optional>
#include <vector>

#include "platform/toolkit/mnemonics.h"
#include "platform/utf.h"
#include "platform/win32/application.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/std_controls.h"

namespace vexlan {

namespace {

std::wstring Wide(std::string_view text) {
  const std::u16string w = Utf8ToUtf16(text);
  return std::wstring(w.begin(), w.end());
}

// The form's controls that can take an accelerator now, in the order Tab
// visits them (containers before their children).
void CollectTabOrder(TWinControl& parent, std::vector<TWinControl*>& out) {
  for (TWinControl* c : parent.Controls()) {
    if (!c->HandleAllocated() || !::IsWindowVisible(c->BoundWindow()) || !::IsWindowEnabled(c->BoundWindow())) {
      continue;
    }
    out.push_back(c);
    CollectTabOrder(*c, out);
  }
}

struct IdSearch {
  int id;
  HWND found;
};

// A callback of the system: declared CALLBACK, as a lambda cannot be on 32-bit
// Windows, where the system calls it with the stdcall convention.
BOOL CALLBACK MatchId(HWND hwnd, LPARAM lparam) {
  auto* s = reinterpret_cast<IdSearch*>(lparam);
  if (::GetDlgCtrlID(hwnd) != s->id) return TRUE;
  s->found = hwnd;
  return FALSE;
}

// The window with control id `id` among `parent`'s descendants.
HWND FindDescendantById(HWND parent, int id) {
  IdSearch search{id, nullptr};
  ::EnumChildWindows(parent, &MatchId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The enabled, visible default button among `parent`'s controls, if any.
const TButton* DefaultButton(const TWinControl& parent) {
  for (const TWinControl* c : parent.Controls()) {
    if (!c->Visible() || !c->Enabled()) continue;
    if (const auto* button = dynamic_cast<const TButton*>(c); button && button->Default()) return button;
    if (const TButton* inner = DefaultButton(*c)) return inner;
  }
  return nullptr;
}

}  // namespace

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  TWinControl::SetVisible(false);
  SetColor(clBtnFace);  // what the class's background brush paints
}

TForm::~TForm() {
  if (application_ && application_->main_form_ == this) application_->main_form_ = nullptr;
  // The controls lose their windows with the form's: from here on they act
  // on nothing.
  BeginDestroying();
  // While the font is still there for the controls going with the window.
  DestroyBoundWindow();
}

void TForm::SetSizeable(bool on) {
  sizeable_ = on;
  if (!HandleAllocated() || Loading()) return;
  constexpr LONG_PTR kSizing = WS_THICKFRAME | WS_MAXIMIZEBOX;
  const LONG_PTR style = ::GetWindowLongPtrW(BoundWindow(), GWL_STYLE);
  ::SetWindowLongPtrW(BoundWindow(), GWL_STYLE, on ? (style | kSizing) : (style & ~kSizing));
  ::SetWindowPos(BoundWindow(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::SetClientSize(int width, int height) {
  TCreateParams params;
  CreateParams(params);
  if (HandleAllocated()) {
    params.Style = static_cast<DWORD>(::GetWindowLongPtrW(BoundWindow(), GWL_STYLE));
    params.ExStyle = static_cast<DWORD>(::GetWindowLongPtrW(BoundWindow(), GWL_EXSTYLE));
  }
  RECT r{0, 0, width, height};
  ::AdjustWindowRectEx(&r, params.Style, FALSE, params.ExStyle);
  const TBounds& b = BoundsRect();
  SetBounds(b.Left, b.Top, r.right - r.left, r.bottom - r.top);
}

void TForm::SetFont(std::string_view name, int height) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::wstring face = Wide(name).substr(0, LF_FACESIZE - 1);
  face.copy(lf.lfFaceName, face.size());
  UniqueFont font(::CreateFontIndirectW(&lf));
  if (!font) throw Exception("Cannot create the font " + std::string(name));
  font_ = std::move(font);
  if (HandleAllocated() && !Loading()) {
    ApplyFont(*this);
    ::RedrawWindow(BoundWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

void TForm::ApplyFont(TWinControl& control) {
  for (TWinControl* c : control.Controls()) {
    if (c->HandleAllocated()) ::SendMessageW(c->BoundWindow(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ApplyFont(*c);
  }
}

void TForm::Show() {
  SetVisible(true);
  const HWND hwnd = BoundWindow();
  if (::IsIconic(hwnd)) ::ShowWindow(hwnd, SW_RESTORE);
  ::BringWindowToTop(hwnd);
  ::SetForegroundWindow(hwnd);
}

void TForm::SetVisible(bool on) {
  if (on) HandleNeeded();
  const bool showing = on && !Visible();
  if (showing && OnShow) OnShow(this);
  TWinControl::SetVisible(on);
}

void TForm::Close() {
  if (OnClose) OnClose(this);
  if (application_ && application_->MainForm() == this) {
    application_->Terminate();
  } else {
    Hide();
  }
}

void TForm::AfterConstruction() {
  if (!OnCreate) return;
  try {
    OnCreate(this);
  } catch (...) {
    ShowException(std::current_exception());
  }
}

TPublishedHandler TForm::FindMethod(std::string_view name) {
  throw ELayoutError("The form " + ClassName() + " has no handler '" + std::string(name) + "'");
}

bool TForm::IsShortCut(const MSG&) { return false; }

bool TForm::DialogChar(const MSG& msg) {
  if (msg.message != WM_SYSCHAR && msg.message != WM_CHAR) return false;
  if (msg.message == WM_CHAR) {
    // Without Alt a character is typing, unless the focused control takes none.
    if (msg.wParam < 0x20) return false;
    const HWND focus = ::GetFocus();
    if (!focus) return false;
    const LRESULT code = ::SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) return false;
  }
  std::vector<TWinControl*> controls;
  CollectTabOrder(*this, controls);
  std::vector<char32_t> marks;
  std::optional<std::size_t> focused;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    marks.push_back(controls[i]->Mnemonic());
    if (controls[i]->Focused()) focused = i;
  }
  const auto target = ChooseMnemonicTarget(marks, static_cast<char32_t>(msg.wParam), focused);
  if (!target) return false;
  controls[target->index]->MnemonicActivate(target->activate);
  return true;
}

void TForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WindowClass = Wide(ClassName());
  params.Background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  params.Style |= WS_CLIPCHILDREN | (sizeable_ ? WS_OVERLAPPEDWINDOW : (WS_POPUP | WS_CAPTION | WS_SYSMENU));
  params.ExStyle |= WS_EX_CONTROLPARENT | (sizeable_ ? 0 : WS_EX_DLGMODALFRAME);
  // A dialog stays in front of the main form: the main form owns it.
  if (!sizeable_) {
    if (const auto* app = dynamic_cast<const TApplication*>(Owner()); app && app->MainForm() && app->MainForm() != this) {
      params.WndParent = app->MainForm()->Handle();
    }
  }
}

bool TForm::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TForm> table[] = {
      {WM_CLOSE, &TForm::WMClose},
      {WM_ACTIVATE, &TForm::WMActivate},
      {WM_COMMAND, &TForm::WMCommand},
      {DM_GETDEFID, &TForm::DMGetDefId},
  };
  return DispatchTable(*this, table, message) || TWinControl::DispatchByNumber(message);
}

void TForm::WMClose(TMessage& message) {
  Close();
  message.Result = 0;
}

void TForm::WMActivate(TMessage& message) {
  const HWND hwnd = BoundWindow();
  if (LOWORD(message.WParam) == WA_INACTIVE) {
    const HWND focus = ::GetFocus();
    if (focus && ::IsChild(hwnd, focus)) last_focus_ = focus;
    DefaultHandler(message);
    return;
  }
  DefaultHandler(message);
  if (HIWORD(message.WParam)) return;  // minimized: no focus to give
  HWND target = last_focus_;
  if (!target || !::IsWindow(target) || !::IsChild(hwnd, target) || !::IsWindowVisible(target) ||
      !::IsWindowEnabled(target)) {
    target = ::GetNextDlgTabItem(hwnd, nullptr, FALSE);
  }
  if (target) ::SetFocus(target);
  message.Result = 0;
}

void TForm::WMCommand(TMessage& message) {
  // Escape, told by the dialog keys: a dialog closes as by its close box.
  if (message.LParam == 0 && LOWORD(message.WParam) == IDCANCEL && !sizeable_) {
    Close();
    return;
  }
  // Enter, told by the dialog keys, names the button by its id alone.
  if (message.LParam == 0 && HIWORD(message.WParam) == BN_CLICKED) {
    if (const HWND button = FindDescendantById(BoundWindow(), LOWORD(message.WParam))) {
      message.LParam = reinterpret_cast<LPARAM>(button);
    }
  }
  TWinControl::DispatchByNumber(message);
}

void TForm::DMGetDefId(TMessage& message) {
  if (const TButton* button = DefaultButton(*this); button && button->HandleAllocated()) {
    message.Result = MAKELRESULT(::GetDlgCtrlID(button->BoundWindow()), DC_HASDEFID);
    return;
  }
  DefaultHandler(message);
}

}  // namespace vexlan
