// The standard controls the forms use: push button, one-line edit box,
// multi-line memo, static label, and a plain panel that holds other controls.
#pragma once

#include "platform/toolkit/control_settings.h"
#include "platform/toolkit/win32/controls.h"

namespace vexlan {

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* owner);
  std::string Caption() const { return Text(); }
  void SetCaption(const std::string& caption) { SetText(caption); }
  // The button Enter presses when the focus is not on another button.
  bool Default() const { return default_; }
  void SetDefault(bool on);
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
  void WMGetDlgCode(TMessage& message);

  bool default_ = false;
};

class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* owner);
  // Every character typed into the box. With a handler set the box also asks
  // for Enter, which dialog keys would otherwise take, so the handler sees it.
  TKeyPressEvent OnKeyPress;
  // The text changed, by typing or by SetText.
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  bool DispatchByNumber(TMessage& message) override;

 private:
  void WMGetDlgCode(TMessage& message);
  void WMChar(TMessage& message);
  void CNCommand(TMessage& message);
};

// A multi-line edit box, without scroll bars unless asked. Enter starts a
// new line; Tab and Escape are left to the form. Its text is limited only
// by memory.
class TMemo : public TWinControl {
 public:
  explicit TMemo(TComponent* owner);
  // Long lines wrap at the box's width (the default); otherwise it scrolls
  // sideways. Set before the window is made.
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool on) { word_wrap_ = on; }
  // Set before the window is made, as is ScrollBars.
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool on) { read_only_ = on; }
  TScrollStyle ScrollBars() const { return scroll_bars_; }
  void SetScrollBars(TScrollStyle bars) { scroll_bars_ = bars; }
  // The length of the text in UTF-16 units, as the box counts characters.
  int TextLength() const;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  bool DispatchByNumber(TMessage& message) override;

 private:
  void WMGetDlgCode(TMessage& message);

  bool word_wrap_ = true;
  bool read_only_ = false;
  TScrollStyle scroll_bars_ = ssNone;
};

// A check box (BS_AUTOCHECKBOX): a click, Space or its accelerator flips it
// and then runs OnClick; SetChecked does not.
class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* owner);
  std::string Caption() const { return Text(); }
  void SetCaption(const std::string& caption) { SetText(caption); }
  bool Checked() const;
  void SetChecked(bool on);
  TNotifyEvent OnClick;
  char32_t Mnemonic() const override;
  void MnemonicActivate(bool activate) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  bool DispatchByNumber(TMessage& message) override;

 private:
  void CNCommand(TMessage& message);

  bool checked_ = false;  // until the window exists, and its state when it goes
};

// Static text. An auto-sized label fits itself to its caption in its form's
// font whenever the caption changes.
class TLabel : public TWinControl {
 public:
  explicit TLabel(TComponent* owner);
  std::string Caption() const { return Text(); }
  void SetCaption(const std::string& caption);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool on);
  TAlignment Alignment() const { return alignment_; }
  // Set before the window is made.
  void SetAlignment(TAlignment alignment) { alignment_ = alignment; }
  void Loaded() override;
  void FontChanged() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  void FitToCaption();

  bool auto_size_ = true;
  TAlignment alignment_ = taLeftJustify;
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

template <>
struct LayoutWriter<ButtonSettings> {
  using Component = TButton;
  static void Write(TButton& button, const ButtonSettings& s, LayoutContext& context);
};
template <>
struct LayoutWriter<CheckBoxSettings> {
  using Component = TCheckBox;
  static void Write(TCheckBox& box, const CheckBoxSettings& s, LayoutContext& context);
};
template <>
struct LayoutWriter<EditSettings> {
  using Component = TEdit;
  static void Write(TEdit& edit, const EditSettings& s, LayoutContext& context);
};
template <>
struct LayoutWriter<MemoSettings> {
  using Component = TMemo;
  static void Write(TMemo& memo, const MemoSettings& s, LayoutContext& context);
};
template <>
struct LayoutWriter<LabelSettings> {
  using Component = TLabel;
  static void Write(TLabel& label, const LabelSettings& s, LayoutContext& context);
};
template <>
struct LayoutWriter<PanelSettings> {
  using Component = TPanel;
  static void Write(TPanel& panel, const PanelSettings& s, LayoutContext& context);
};

}  // namespace vexlan
