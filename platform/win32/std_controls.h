// The standard controls the forms use: push button, one-line edit box, and a
// plain panel that holds other controls.
#pragma once

#include "platform/win32/controls.h"

namespace vexlan {

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* owner);
  std::string Caption() const { return Text(); }
  void SetCaption(const std::string& caption) { SetText(caption); }
  TNotifyEvent OnClick;
  // What a press does: OnClick with the button as Sender.
  virtual void Click();
  char32_t Mnemonic() const override;
  void MnemonicActivate(bool activate) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  bool DispatchByNumber(TMessage& message) override;

 private:
  void CNCommand(TMessage& message);
};

class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* owner);
  // Every character typed into the box. With a handler set the box also asks
  // for Enter, which dialog keys would otherwise take, so the handler sees it.
  TKeyPressEvent OnKeyPress;

 protected:
  void CreateParams(TCreateParams& params) override;
  bool DispatchByNumber(TMessage& message) override;

 private:
  void WMGetDlgCode(TMessage& message);
  void WMChar(TMessage& message);
};

// A container without decoration. Tab and accelerators reach its children
// (WS_EX_CONTROLPARENT), and their notifications come back to them through
// it like through a form.
class TPanel : public TWinControl {
 public:
  explicit TPanel(TComponent* owner);
  std::string Caption() const { return Text(); }
  void SetCaption(const std::string& caption) { SetText(caption); }

 protected:
  void CreateParams(TCreateParams& params) override;
};

}  // namespace vexlan
