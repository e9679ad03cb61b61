#include "platform/win32/std_controls.h"

#include "platform/toolkit/mnemonics.h"

namespace vexlan {

TButton::TButton(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

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
  params.Style |= BS_PUSHBUTTON;
}

bool TButton::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TButton> table[] = {{CN_COMMAND, &TButton::CNCommand}};
  return DispatchTable(*this, table, message) || TWinControl::DispatchByNumber(message);
}

void TButton::CNCommand(TMessage& message) {
  if (HIWORD(message.WParam) == BN_CLICKED) Click();
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
  static const MessageHandler<TEdit> table[] = {{WM_GETDLGCODE, &TEdit::WMGetDlgCode}, {WM_CHAR, &TEdit::WMChar}};
  return DispatchTable(*this, table, message) || TWinControl::DispatchByNumber(message);
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

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {}

void TPanel::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WindowClass = L"TPanel";
  params.Background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

}  // namespace vexlan
