#include "platform/toolkit/win32/std_controls.h"

#include <algorithm>

#include "platform/toolkit/mnemonics.h"
#include "platform/utf.h"

namespace vexlan {

TButton::TButton(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

void TButton::SetDefault(bool on) {
  default_ = on;
  if (HandleAllocated() && !Loading()) {
    ::SendMessageW(BoundWindow(), BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }
}

void TButton::Click() {
  if (OnClick) OnClick(this);
}

char32_t TButton::Mnemonic() const { return MnemonicOf(Caption()); }

void TButton::MnemonicActivate(bool activate) {
  if (!activate) {
    SetFocus();
    return;
  }
  // As a mouse click would: through the button, which notifies its parent.
  ::SendMessageW(Handle(), BM_CLICK, 0, 0);
}

void TButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WindowClass = L"BUTTON";
  params.Standard = true;
  params.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

bool TButton::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TButton> table[] = {{CN_COMMAND, &TButton::CNCommand},
                                                  {WM_GETDLGCODE, &TButton::WMGetDlgCode}};
  return DispatchTable(*this, table, message) || TWinControl::DispatchByNumber(message);
}

void TButton::CNCommand(TMessage& message) {
  if (HIWORD(message.WParam) == BN_CLICKED) Click();
}

void TButton::WMGetDlgCode(TMessage& message) {
  // Enter presses the focused button rather than the form's default: as in
  // a dialog box, the focused button counts as the default one.
  DefaultHandler(message);
  if (Focused()) message.Result = (message.Result & ~DLGC_UNDEFPUSHBUTTON) | DLGC_DEFPUSHBUTTON;
}

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

bool TCheckBox::Checked() const {
  if (!HandleAllocated()) return checked_;
  return ::SendMessageW(BoundWindow(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool on) {
  checked_ = on;
  if (HandleAllocated()) ::SendMessageW(BoundWindow(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

char32_t TCheckBox::Mnemonic() const { return MnemonicOf(Caption()); }

void TCheckBox::MnemonicActivate(bool activate) {
  SetFocus();
  // As a click would: the box flips itself and tells its parent.
  if (activate) ::SendMessageW(BoundWindow(), BM_CLICK, 0, 0);
}

void TCheckBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WindowClass = L"BUTTON";
  params.Standard = true;
  params.Style |= BS_AUTOCHECKBOX;
}

void TCheckBox::CreateWnd() {
  TWinControl::CreateWnd();
  SetChecked(checked_);
}

bool TCheckBox::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TCheckBox> table[] = {{CN_COMMAND, &TCheckBox::CNCommand}};
  return DispatchTable(*this, table, message) || TWinControl::DispatchByNumber(message);
}

void TCheckBox::CNCommand(TMessage& message) {
  if (HIWORD(message.WParam) != BN_CLICKED) return;
  checked_ = Checked();
  if (OnClick) OnClick(this);
}

TEdit::TEdit(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

void TEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WindowClass = L"EDIT";
  params.Standard = true;
  params.Style |= ES_AUTOHSCROLL | ES_LEFT;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

bool TEdit::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TEdit> table[] = {
      {WM_GETDLGCODE, &TEdit::WMGetDlgCode}, {WM_CHAR, &TEdit::WMChar}, {CN_COMMAND, &TEdit::CNCommand}};
  return DispatchTable(*this, table, message) || TWinControl::DispatchByNumber(message);
}

void TEdit::CNCommand(TMessage& message) {
  if (HIWORD(message.WParam) == EN_CHANGE && OnChange) OnChange(this);
}

void TEdit::WMGetDlgCode(TMessage& message) {
  DefaultHandler(message);
  const auto* key = reinterpret_cast<const MSG*>(message.LParam);
  if (OnKeyPress && key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) {
    message.Result |= DLGC_WANTMESSAGE;
  }
}

void TEdit::WMChar(TMessage& message) {
  if (OnKeyPress) {
    auto key = static_cast<char16_t>(message.WParam);
    OnKeyPress(this, key);
    if (key == 0) return;
    message.WParam = key;
  }
  DefaultHandler(message);
}

TMemo::TMemo(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

int TMemo::TextLength() const {
  if (!HandleAllocated()) return static_cast<int>(Utf8ToUtf16(Text()).size());
  return ::GetWindowTextLengthW(BoundWindow());
}

void TMemo::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WindowClass = L"EDIT";
  params.Standard = true;
  params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_LEFT | (word_wrap_ ? 0 : ES_AUTOHSCROLL);
  if (read_only_) params.Style |= ES_READONLY;
  if (scroll_bars_ == ssHorizontal || scroll_bars_ == ssBoth) params.Style |= WS_HSCROLL;
  if (scroll_bars_ == ssVertical || scroll_bars_ == ssBoth) params.Style |= WS_VSCROLL;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TMemo::CreateWnd() {
  TWinControl::CreateWnd();
  // The typing limit, not only what WM_SETTEXT may put there: as much as fits.
  ::SendMessageW(BoundWindow(), EM_SETLIMITTEXT, 0, 0);
}

bool TMemo::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TMemo> table[] = {{WM_GETDLGCODE, &TMemo::WMGetDlgCode}};
  return DispatchTable(*this, table, message) || TWinControl::DispatchByNumber(message);
}

void TMemo::WMGetDlgCode(TMessage& message) {
  // A multi-line edit asks for every key, Tab and Escape included; it keeps
  // only Enter, for new lines.
  DefaultHandler(message);
  message.Result &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
  const auto* key = reinterpret_cast<const MSG*>(message.LParam);
  if (key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN) {
    message.Result |= DLGC_WANTMESSAGE;
  }
}

TLabel::TLabel(TComponent* owner) : TWinControl(owner) {}

void TLabel::SetCaption(const std::string& caption) {
  SetText(caption);
  if (!Loading()) FitToCaption();
}

void TLabel::SetAutoSize(bool on) {
  auto_size_ = on;
  if (!Loading()) FitToCaption();
}

void TLabel::Loaded() {
  TWinControl::Loaded();
  FitToCaption();
}

void TLabel::FontChanged() { FitToCaption(); }

void TLabel::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WindowClass = L"STATIC";
  params.Standard = true;
  params.Style |= alignment_ == taRightJustify ? SS_RIGHT : SS_LEFT;
}

void TLabel::CreateWnd() {
  TWinControl::CreateWnd();
  FitToCaption();
}

void TLabel::FitToCaption() {
  if (!auto_size_ || !HandleAllocated()) return;
  const HDC dc = ::GetDC(BoundWindow());
  const HGDIOBJ old = ::SelectObject(dc, FontHandle());
  const std::u16string text = Utf8ToUtf16(Text());
  RECT r{0, 0, 0, 0};
  ::DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_LEFT | DT_SINGLELINE);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  ::SelectObject(dc, old);
  ::ReleaseDC(BoundWindow(), dc);
  const TBounds& b = BoundsRect();
  const int width = r.right - r.left;
  // Anchored at its right edge, but never past its parent's left one.
  const int left = alignment_ == taRightJustify ? std::max(b.Left + b.Width - width, 0) : b.Left;
  SetBounds(left, b.Top, width, std::max<int>(r.bottom - r.top, metrics.tmHeight));
}

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {}

void TPanel::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WindowClass = L"TPanel";
  params.Background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void LayoutWriter<ButtonSettings>::Write(TButton& button, const ButtonSettings& s, LayoutContext& context) {
  button.SetCaption(std::string(s.Caption));
  button.SetDefault(s.Default);
  button.OnClick = context.Bind<TNotifyEvent>(s.OnClick);
}

void LayoutWriter<CheckBoxSettings>::Write(TCheckBox& box, const CheckBoxSettings& s, LayoutContext& context) {
  box.SetCaption(std::string(s.Caption));
  box.SetChecked(s.Checked);
  box.OnClick = context.Bind<TNotifyEvent>(s.OnClick);
}

void LayoutWriter<EditSettings>::Write(TEdit& edit, const EditSettings& s, LayoutContext&) {
  edit.SetText(std::string(s.Text));
}

void LayoutWriter<MemoSettings>::Write(TMemo& memo, const MemoSettings& s, LayoutContext&) {
  memo.SetText(std::string(s.Text));
  memo.SetWordWrap(s.WordWrap);
  memo.SetReadOnly(s.ReadOnly);
  memo.SetScrollBars(s.ScrollBars);
}

void LayoutWriter<LabelSettings>::Write(TLabel& label, const LabelSettings& s, LayoutContext&) {
  label.SetCaption(std::string(s.Caption));
  label.SetAutoSize(s.AutoSize);
  label.SetAlignment(s.Alignment);
}

void LayoutWriter<PanelSettings>::Write(TPanel& panel, const PanelSettings& s, LayoutContext&) {
  panel.SetCaption(std::string(s.Caption));
}

}  // namespace vexlan
