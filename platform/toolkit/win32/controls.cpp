#include "platform/toolkit/win32/controls.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/toolkit/win32/menus.h"
#include "platform/utf.h"

namespace vexlan {

namespace {

// Child windows get ids from here, so no two of ours share one (and none is
// IDOK or IDCANCEL, which dialog key handling sends on its own).
UINT_PTR NextControlId() {
  static UINT_PTR next = 1000;
  return next++;
}

std::wstring Wide(const std::string& text) {
  const std::u16string w = Utf8ToUtf16(text);
  return std::wstring(w.begin(), w.end());
}

}  // namespace

TWinControl::TWinControl(TComponent* owner) : TComponent(owner) {}

TWinControl::~TWinControl() {
  if (popup_menu_) popup_menu_->RemoveUser(*this);
  // The children's windows go with ours; their objects belong to the owner.
  DestroyBoundWindow();
  for (TWinControl* child : children_) child->parent_ = nullptr;
  if (parent_) std::erase(parent_->children_, this);
}

TWinControl* TWinControl::FromWindow(HWND hwnd) { return dynamic_cast<TWinControl*>(WindowReceiver::FromWindow(hwnd)); }

void TWinControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) std::erase(parent_->children_, this);
  parent_ = parent;
  if (!parent_) {
    DestroyBoundWindow();
    return;
  }
  parent_->children_.push_back(this);
  if (Loading()) return;
  tab_order_ = static_cast<int>(parent_->children_.size()) - 1;
  parent_->NormalizeTabOrders();
  if (HandleAllocated()) {
    ::SetParent(BoundWindow(), parent_->BoundWindow());
  } else if (parent_->HandleAllocated()) {
    CreateHandle();
  }
  parent_->ApplyTabOrder();
  if (align_ != alNone) parent_->Realign();
}

std::vector<TWinControl*> TWinControl::Controls() const {
  std::vector<int> orders;
  for (const TWinControl* c : children_) orders.push_back(c->tab_order_);
  std::vector<TWinControl*> result;
  for (std::size_t i : TabSequence(orders)) result.push_back(children_[i]);
  return result;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  bounds_ = {left, top, width, height};
  if (Loading()) return;
  if (HandleAllocated()) {
    ::SetWindowPos(BoundWindow(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (align_ != alNone && parent_) parent_->Realign();
}

TBounds TWinControl::ClientRect() const {
  if (!HandleAllocated()) return {0, 0, bounds_.Width, bounds_.Height};
  RECT r{};
  ::GetClientRect(BoundWindow(), &r);
  return {0, 0, r.right - r.left, r.bottom - r.top};
}

void TWinControl::ChangeScale(int to, int from) {
  if (to == from) return;
  SetBoundsRect(ScaleBounds(bounds_, to, from));
  for (TWinControl* child : children_) child->ChangeScale(to, from);
}

void TWinControl::SetAlign(TAlign align) {
  align_ = align;
  if (!Loading() && parent_) parent_->Realign();
}

void TWinControl::Realign() {
  if (Loading()) return;
  std::vector<TWinControl*> aligned;
  std::vector<AlignedChild> places;
  for (TWinControl* c : Controls()) {
    if (c->align_ == alNone) continue;
    aligned.push_back(c);
    places.push_back({c->align_, c->bounds_});
  }
  if (aligned.empty()) return;
  const TBounds client = ClientRect();
  TRect rect{0, 0, client.Width, client.Height};
  AlignControls(places, rect);
  for (std::size_t i = 0; i < aligned.size(); ++i) {
    TWinControl* c = aligned[i];
    const TBounds& b = places[i].Bounds;
    if (b == c->bounds_ && c->HandleAllocated()) continue;
    c->bounds_ = b;
    if (c->HandleAllocated()) {
      ::SetWindowPos(c->BoundWindow(), nullptr, b.Left, b.Top, b.Width, b.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

void TWinControl::AlignControls(std::span<AlignedChild> children, TRect& Rect) {
  // A crossed rectangle has no room: AlignChildren gives its children none.
  const std::int64_t width = std::int64_t{Rect.Right} - Rect.Left, height = std::int64_t{Rect.Bottom} - Rect.Top;
  AlignChildren({Rect.Left, Rect.Top, ClampToInt32(width), ClampToInt32(height)}, children);
}

void TWinControl::Invalidate() {
  if (HandleAllocated()) ::InvalidateRect(BoundWindow(), nullptr, TRUE);
}

TColor TWinControl::Color() const { return parent_color_ && parent_ ? parent_->Color() : color_; }

void TWinControl::SetColor(TColor color) {
  color_ = color;
  parent_color_ = false;
  if (HandleAllocated()) ::RedrawWindow(BoundWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinControl::SetParentColor(bool on) {
  parent_color_ = on;
  if (HandleAllocated()) ::RedrawWindow(BoundWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinControl::SetTabOrder(int order) {
  if (Loading() || !parent_) {
    tab_order_ = order;
    return;
  }
  parent_->NormalizeTabOrders();
  std::vector<TWinControl*> sequence = parent_->Controls();
  const auto from = static_cast<std::size_t>(std::find(sequence.begin(), sequence.end(), this) - sequence.begin());
  const std::vector<std::size_t> moved = MoveInTabSequence(sequence.size(), from, order);
  for (std::size_t i = 0; i < moved.size(); ++i) sequence[moved[i]]->tab_order_ = static_cast<int>(i);
  parent_->ApplyTabOrder();
}

void TWinControl::NormalizeTabOrders() {
  const std::vector<TWinControl*> sequence = Controls();
  for (std::size_t i = 0; i < sequence.size(); ++i) sequence[i]->tab_order_ = static_cast<int>(i);
}

void TWinControl::ApplyTabOrder() {
  // Tab follows the windows' Z order among siblings, top first.
  HWND after = HWND_TOP;
  for (TWinControl* c : Controls()) {
    if (!c->HandleAllocated()) continue;
    ::SetWindowPos(c->BoundWindow(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = c->BoundWindow();
  }
}

void TWinControl::SetTabStop(bool on) {
  tab_stop_ = on;
  if (!HandleAllocated()) return;
  LONG_PTR style = ::GetWindowLongPtrW(BoundWindow(), GWL_STYLE);
  style = on ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
  ::SetWindowLongPtrW(BoundWindow(), GWL_STYLE, style);
}

void TWinControl::SetVisible(bool on) {
  visible_ = on;
  if (HandleAllocated() && !Loading()) ::ShowWindow(BoundWindow(), on ? SW_SHOW : SW_HIDE);
}

void TWinControl::SetEnabled(bool on) {
  enabled_ = on;
  if (HandleAllocated() && !Loading()) ::EnableWindow(BoundWindow(), on);
}

std::string TWinControl::Text() const {
  if (!HandleAllocated()) return text_;
  const int length = ::GetWindowTextLengthW(BoundWindow());
  std::wstring buffer(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int copied = ::GetWindowTextW(BoundWindow(), buffer.data(), static_cast<int>(buffer.size()));
  buffer.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return Utf16ToUtf8(std::u16string(buffer.begin(), buffer.end()));
}

void TWinControl::SetText(const std::string& text) {
  text_ = text;
  if (HandleAllocated() && !Loading()) ::SetWindowTextW(BoundWindow(), Wide(text).c_str());
}

void TWinControl::SetPopupMenu(TPopupMenu* menu) {
  if (popup_menu_) popup_menu_->RemoveUser(*this);
  popup_menu_ = menu;
  if (popup_menu_) popup_menu_->AddUser(*this);
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return BoundWindow();
}

void TWinControl::HandleNeeded() {
  if (!HandleAllocated()) CreateHandle();
}

bool TWinControl::Focused() const { return HandleAllocated() && ::GetFocus() == BoundWindow(); }

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

HFONT TWinControl::FontHandle() const {
  for (const TWinControl* c = this; c; c = c->parent_) {
    if (HFONT font = c->OwnFont()) return font;
  }
  return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void TWinControl::MnemonicActivate(bool) { SetFocus(); }

void TWinControl::Loaded() {
  TComponent::Loaded();
  if (parent_ && parent_->HandleAllocated()) CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.Style = WS_CLIPSIBLINGS | (parent_ ? WS_CHILD : 0);
  if (visible_ && parent_) params.Style |= WS_VISIBLE;
  if (!enabled_) params.Style |= WS_DISABLED;
  if (tab_stop_) params.Style |= WS_TABSTOP;
}

void TWinControl::CreateWnd() { ::SendMessageW(BoundWindow(), WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE); }

void TWinControl::CreateHandle() {
  if (parent_) parent_->HandleNeeded();  // which makes ours too
  if (HandleAllocated()) return;
  TCreateParams params;
  CreateParams(params);
  const RECT place{bounds_.Left, bounds_.Top, bounds_.Left + bounds_.Width, bounds_.Top + bounds_.Height};
  const HWND parent_window = parent_ ? parent_->BoundWindow() : params.WndParent;
  const UINT_PTR id = parent_ ? NextControlId() : 0;
  if (params.Standard) {
    CreateSubclassedWindow(params.WindowClass, params.ExStyle, params.Style, place, parent_window, id, Wide(text_));
  } else {
    CreateBoundWindow(params.WindowClass, params.ClassStyle, params.Background, params.ExStyle, params.Style, place,
                      parent_window, id, Wide(text_));
  }
  CreateWnd();
  NormalizeTabOrders();
  for (TWinControl* c : Controls()) c->CreateHandle();
  ApplyTabOrder();
  Realign();
}

void TWinControl::ReadBoundsFromWindow() {
  if (!HandleAllocated() || ::IsIconic(BoundWindow())) return;
  RECT r{};
  ::GetWindowRect(BoundWindow(), &r);
  if (parent_ && parent_->HandleAllocated()) {
    ::MapWindowPoints(HWND_DESKTOP, parent_->BoundWindow(), reinterpret_cast<POINT*>(&r), 2);
  }
  bounds_ = {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

POINT TWinControl::KeyboardMenuPoint() {
  POINT p{0, 0};
  ::ClientToScreen(BoundWindow(), &p);
  return p;
}

LRESULT TWinControl::ReceiveMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  TMessage message{msg, static_cast<std::intptr_t>(wparam), lparam, 0};
  WndProc(message);
  return message.Result;
}

void TWinControl::WndProc(TMessage& message) {
  // Shift+F10 asks for the pop-up menu, as the menu key does.
  if ((message.Msg == WM_KEYDOWN || message.Msg == WM_SYSKEYDOWN) && message.WParam == VK_F10 &&
      (::GetKeyState(VK_SHIFT) & 0x8000) && popup_menu_) {
    ::SendMessageW(BoundWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(BoundWindow()), -1);
    return;
  }
  Dispatch(message);
}

void TWinControl::DefaultHandler(TMessage& message) {
  // Handed-back notifications have no window default; unhandled means 0.
  if (message.Msg >= CN_BASE && message.Msg < CN_BASE + WM_USER) return;
  if (!HandleAllocated()) return;
  message.Result = DefaultWindowProc(message.Msg, static_cast<WPARAM>(message.WParam), message.LParam);
}

bool TWinControl::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TWinControl> table[] = {
      {WM_SIZE, &TWinControl::WMSize},
      {WM_WINDOWPOSCHANGED, &TWinControl::WMWindowPosChanged},
      {WM_COMMAND, &TWinControl::WMCommand},
      {WM_NOTIFY, &TWinControl::WMNotify},
      {WM_CONTEXTMENU, &TWinControl::WMContextMenu},
  };
  return DispatchTable(*this, table, message) || TComponent::DispatchByNumber(message);
}

void TWinControl::WMSize(TMessage& message) {
  DefaultHandler(message);
  Realign();
}

void TWinControl::WMWindowPosChanged(TMessage& message) {
  ReadBoundsFromWindow();
  DefaultHandler(message);
}

TWinControl* TWinControl::OwnDescendant(HWND hwnd) const {
  // Usually the direct parent hears from a control; dialog keys (Enter on a
  // focused button) tell the form, so any container up the chain hands back.
  // Our controls' parents are their windows' parents: the chain is walked
  // without asking the system (a notification comes for every item a tree
  // view shows or deletes).
  TWinControl* control = FromWindow(hwnd);
  for (const TWinControl* p = control ? control->Parent() : nullptr; p; p = p->Parent()) {
    if (p == this) return control;
  }
  return nullptr;
}

void TWinControl::ReflectTo(HWND source, std::uint32_t reflected_msg, TMessage& message) {
  if (TWinControl* child = source ? OwnDescendant(source) : nullptr) {
    TMessage reflected{reflected_msg, message.WParam, message.LParam, 0};
    child->WndProc(reflected);
    message.Result = reflected.Result;
    return;
  }
  DefaultHandler(message);
}

void TWinControl::WMCommand(TMessage& message) {
  ReflectTo(reinterpret_cast<HWND>(message.LParam), CN_COMMAND, message);
}

void TWinControl::WMNotify(TMessage& message) {
  const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
  ReflectTo(header ? header->hwndFrom : nullptr, CN_NOTIFY, message);
}

void TWinControl::WMContextMenu(TMessage& message) {
  // wParam names the window the user asked on. Some controls (Wine's tree
  // view) tell their parent directly instead of themselves, so a parent
  // serves a child's menu too.
  TWinControl* target = this;
  const auto source = reinterpret_cast<HWND>(message.WParam);
  if (source != BoundWindow()) {
    if (TWinControl* child = FromWindow(source); child && child->popup_menu_ && ::IsChild(BoundWindow(), source)) {
      target = child;
    }
  }
  if (!target->popup_menu_) {
    DefaultHandler(message);  // passes it on to the parent
    return;
  }
  POINT at{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  // (-1, -1) means the menu was asked for from the keyboard.
  if (at.x == -1 && at.y == -1) at = target->KeyboardMenuPoint();
  target->popup_menu_->PopupFor(*target, at.x, at.y);
  message.Result = 0;
}

}  // namespace vexlan
