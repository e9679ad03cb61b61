#include "platform/toolkit/win32/forms.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/toolkit/mnemonics.h"
#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/toolkit/win32/dpi.h"
#include "platform/toolkit/win32/std_controls.h"
#include "platform/toolkit/win32/window_binding.h"
#include "platform/utf.h"

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
  const TBounds b = BoundsRect();
  if (HandleAllocated() && !::IsIconic(BoundWindow())) {
    // The frame the window has, whatever the metrics predict (a theme, a
    // window manager, a caption that wraps its menu).
    RECT client{};
    ::GetClientRect(BoundWindow(), &client);
    SetBounds(b.Left, b.Top, b.Width + width - client.right, b.Height + height - client.bottom);
    return;
  }
  TCreateParams params;
  CreateParams(params);
  if (HandleAllocated()) {
    params.Style = static_cast<DWORD>(::GetWindowLongPtrW(BoundWindow(), GWL_STYLE));
    params.ExStyle = static_cast<DWORD>(::GetWindowLongPtrW(BoundWindow(), GWL_EXSTYLE));
  }
  const RECT r = WindowRectForClient(RECT{0, 0, width, height}, params.Style, params.ExStyle, dpi_);
  SetBounds(b.Left, b.Top, r.right - r.left, r.bottom - r.top);
}

void TForm::SetDesignPlacement(int left, int top, int client_width, int client_height) {
  design_ = {left, top, client_width, client_height};
  SetBounds(left, top, BoundsRect().Width, BoundsRect().Height);
  SetClientSize(ScaleValue(client_width, dpi_, kDesignDpi), ScaleValue(client_height, dpi_, kDesignDpi));
}


namespace {

int CALLBACK NoteRasterFace(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM found) {
  if (type & RASTER_FONTTYPE) *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// A raster face has glyphs for its own code page only and takes no font
// linking: text in other scripts would draw as boxes.
bool IsRasterFace(const std::wstring& face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  face.copy(wanted.lfFaceName, std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  bool raster = false;
  const HDC screen = ::GetDC(nullptr);
  ::EnumFontFamiliesExW(screen, &wanted, NoteRasterFace, reinterpret_cast<LPARAM>(&raster), 0);
  ::ReleaseDC(nullptr, screen);
  return raster;
}

}  // namespace

void TForm::SetFont(std::string_view name, int height) {
  font_name_ = std::string(name);
  font_face_ = Wide(name).substr(0, LF_FACESIZE - 1);
  if (IsRasterFace(font_face_)) font_face_ = L"MS Shell Dlg 2";
  font_height_ = height;
  RecreateFont();
}

void TForm::RecreateFont() {
  if (font_face_.empty()) return;
  LOGFONTW lf{};
  lf.lfHeight = ScaleValue(font_height_, dpi_, kDesignDpi);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  font_face_.copy(lf.lfFaceName, font_face_.size());
  UniqueFont font(::CreateFontIndirectW(&lf));
  if (!font) throw Exception("Cannot create the font " + font_name_);
  font_ = std::move(font);
  if (HandleAllocated() && !Loading()) {
    ApplyFont(*this);
    ::RedrawWindow(BoundWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

void TForm::ChangeScale(int to, int from) {
  if (to == from) return;
  for (TWinControl* c : Controls()) c->ChangeScale(to, from);
  RecreateFont();
}

void TForm::LayoutRead() {
  PlaceAtMonitorDpi();
  HandleNeeded();
  FitMadeWindow();
  FitClientToControls();
}

void TForm::PlaceAtMonitorDpi() {
  // The monitor the form will stand on, found by its place in screen pixels.
  const int system = SystemDpi();
  const int dpi =
      DpiAtPoint(POINT{ScaleValue(design_.Left, system, kDesignDpi), ScaleValue(design_.Top, system, kDesignDpi)});
  if (dpi == dpi_) return;
  SetBounds(ScaleValue(design_.Left, dpi, kDesignDpi), ScaleValue(design_.Top, dpi, kDesignDpi), BoundsRect().Width,
            BoundsRect().Height);
  ScaleToDpi(dpi);
}

void TForm::FitMadeWindow() {
  if (!HandleAllocated() || design_.Width <= 0) return;
  ScaleToDpi(DpiOfWindow(BoundWindow()));
  SetClientSize(ScaleValue(design_.Width, dpi_, kDesignDpi), ScaleValue(design_.Height, dpi_, kDesignDpi));
}

void TForm::ScaleToDpi(int dpi) {
  if (dpi == dpi_) return;
  const int old = std::exchange(dpi_, dpi);
  SetClientSize(ScaleValue(design_.Width, dpi, kDesignDpi), ScaleValue(design_.Height, dpi, kDesignDpi));
  ChangeScale(dpi, old);
  if (HandleAllocated()) SetDpiIcons();
}

void TForm::SetDpiIcons() {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  UniqueIcon big = LoadProgramIcon(instance, SystemMetricForDpi(SM_CXICON, dpi_));
  UniqueIcon small = LoadProgramIcon(instance, SystemMetricForDpi(SM_CXSMICON, dpi_));
  // Without them the window keeps the icons it has.
  if (!big || !small) return;
  ::SendMessageW(BoundWindow(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  ::SendMessageW(BoundWindow(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  big_icon_ = std::move(big);
  small_icon_ = std::move(small);
}

void TForm::FitClientToControls() {
  if (sizeable_ || !HandleAllocated()) return;
  // A control that text made larger than drawn (a label fitting its text)
  // and that reaches past the client area gets as much room beyond it as
  // the layout leaves before the nearest control on the other side.
  int left = INT32_MAX, top = INT32_MAX, right = 0, bottom = 0;
  for (const TWinControl* c : Controls()) {
    if (!c->Visible()) continue;
    const TBounds& b = c->BoundsRect();
    left = std::min(left, b.Left);
    top = std::min(top, b.Top);
    right = std::max(right, b.Left + b.Width);
    bottom = std::max(bottom, b.Top + b.Height);
  }
  if (left == INT32_MAX) return;
  const TBounds client = ClientRect();
  const int width = right > client.Width ? right + std::max(left, 0) : client.Width;
  const int height = bottom > client.Height ? bottom + std::max(top, 0) : client.Height;
  if (width != client.Width || height != client.Height) SetClientSize(width, height);
}

void TForm::ApplyFont(TWinControl& control) {
  for (TWinControl* c : control.Controls()) {
    if (c->HandleAllocated()) ::SendMessageW(c->BoundWindow(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    c->FontChanged();
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

void TForm::CreateWnd() {
  TWinControl::CreateWnd();
  SetDpiIcons();
}

void TForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WindowClass = Wide(ClassName());
  params.Background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  // A dialog is a pop-up window, sizeable or not. It has no minimize box:
  // minimized, it would stand alone at the bottom of the screen.
  if (!Dialog()) {
    params.Style |= WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
  } else {
    params.Style |= WS_CLIPCHILDREN | WS_POPUP | WS_CAPTION | WS_SYSMENU | (sizeable_ ? WS_THICKFRAME : 0);
  }
  params.ExStyle |= WS_EX_CONTROLPARENT | (sizeable_ ? 0 : WS_EX_DLGMODALFRAME);
  // A dialog stays in front of the main form: the main form owns it.
  if (Dialog()) {
    if (const auto* app = dynamic_cast<const TApplication*>(Owner()); app && app->MainForm() && app->MainForm() != this) {
      params.WndParent = app->MainForm()->Handle();
    }
  }
}

bool TForm::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TForm> table[] = {
      {WM_CLOSE, &TForm::WMClose},
      {WM_ACTIVATE, &TForm::WMActivate},
      {WM_TIMER, &TForm::WMTimer},
      {WM_COMMAND, &TForm::WMCommand},
      {DM_GETDEFID, &TForm::DMGetDefId},
      {WM_DPICHANGED, &TForm::WMDpiChanged},
  };
  return DispatchTable(*this, table, message) || TWinControl::DispatchByNumber(message);
}

void TForm::WMClose(TMessage& message) {
  Close();
  message.Result = 0;
}

namespace {

constexpr UINT_PTR kRaiseOwnedTimer = 0x7E57;
constexpr UINT kRaiseOwnedDelayMs = 50;

// Owned windows stand above their owner. Under Wine without a window
// manager, the owner activated is raised on the screen above the windows it
// owns, as it handles the display's events a little after the activation,
// while the system's Z order still has them above it; so a little after an
// activation they are put back on top, without taking the activation (a
// no-op where the screen and the Z order agree).
struct OwnedWalk {
  HWND owner;
  std::vector<HWND> owned;
};

BOOL CALLBACK NoteOwned(HWND hwnd, LPARAM param) {
  auto* walk = reinterpret_cast<OwnedWalk*>(param);
  if (::GetWindow(hwnd, GW_OWNER) == walk->owner && ::IsWindowVisible(hwnd)) walk->owned.push_back(hwnd);
  return TRUE;
}

void RaiseOwnedWindows(HWND owner) {
  OwnedWalk walk{owner, {}};
  ::EnumThreadWindows(::GetCurrentThreadId(), &NoteOwned, reinterpret_cast<LPARAM>(&walk));
  for (const HWND owned : walk.owned) {
    ::SetWindowPos(owned, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
}

}  // namespace

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
  // Once the activation is done with: Wine raises this form on the screen
  // as it handles the display's events that the activation brings.
  ::SetTimer(hwnd, kRaiseOwnedTimer, kRaiseOwnedDelayMs, nullptr);
  HWND target = last_focus_;
  if (!target || !::IsWindow(target) || !::IsChild(hwnd, target) || !::IsWindowVisible(target) ||
      !::IsWindowEnabled(target)) {
    target = ::GetNextDlgTabItem(hwnd, nullptr, FALSE);
  }
  if (target) ::SetFocus(target);
  message.Result = 0;
}

void TForm::WMTimer(TMessage& message) {
  if (message.WParam != kRaiseOwnedTimer) {
    DefaultHandler(message);
    return;
  }
  ::KillTimer(BoundWindow(), kRaiseOwnedTimer);
  RaiseOwnedWindows(BoundWindow());
  message.Result = 0;
}

void TForm::WMCommand(TMessage& message) {
  // Escape, told by the dialog keys: a dialog closes as by its close box.
  if (message.LParam == 0 && LOWORD(message.WParam) == IDCANCEL && Dialog()) {
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

void TForm::WMDpiChanged(TMessage& message) {
  const int dpi = HIWORD(message.WParam);
  const int old = std::exchange(dpi_, dpi);
  ChangeScale(dpi, old);
  SetDpiIcons();
  // Where the system suggests: the same place on the new monitor, its size
  // scaled with the frame of the new DPI.
  if (const auto* r = reinterpret_cast<const RECT*>(message.LParam)) {
    ::SetWindowPos(BoundWindow(), nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  message.Result = 0;
}

}  // namespace vexlan
