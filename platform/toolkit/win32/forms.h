// Forms: top-level windows that hold controls, created from a layout.
//
// A form is created hidden. Show makes it visible and brings it to the
// front; Close runs OnClose and then hides it, or, for the application's main
// form, ends the application's message loop. The close box closes the form
// the same way (a form is never destroyed by its window being closed). The
// form keeps the focus on the control that had it when it was last active,
// and its font is the font of all its controls. Its colour is clBtnFace,
// which its window's background is erased with and its controls take
// (ParentColor).
//
// A form that is not sizeable is a dialog: it has a fixed dialog frame, it
// is kept in front of the application's main form (which owns its window),
// and Escape closes it as its close box does. Enter presses the focused
// button, or else the form's default button. A sizeable form can be a
// dialog too (SetDialog): it keeps its sizing frame.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/toolkit/layout.h"
#include "platform/toolkit/win32/controls.h"
#include "platform/toolkit/win32/handles.h"

namespace vexlan {

class TApplication;
// Reads a layout's rows into a form (layout_loader.h).
template <class Settings>
class FormLayoutBuilder;

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  // The window class is registered under this name.
  std::string ClassName() const override { return "TForm"; }

  std::string Caption() const { return Text(); }
  void SetCaption(const std::string& caption) { SetText(caption); }
  bool Sizeable() const { return sizeable_; }
  void SetSizeable(bool on);
  // Kept in front of the main form and closed by Escape; every form that is
  // not sizeable is. Set before the window is made.
  bool Dialog() const { return dialog_ || !sizeable_; }
  void SetDialog(bool on) { dialog_ = on; }
  // Fits the outer size around a client area of this size (pixels at the
  // form's DPI): once the window exists, around the frame it really has.
  void SetClientSize(int width, int height);
  // Where the form stands and how large its client area is, at 96 DPI (as
  // layouts give them); the form is placed at its monitor's DPI when its
  // window is made, with its frame around the scaled client area.
  void SetDesignPlacement(int left, int top, int client_width, int client_height);
  // The face name and height at 96 DPI (negative: character height in
  // pixels) of the font the form and all its controls use. A raster face
  // (no glyphs beyond its code page, no font linking) gives way to the
  // system's TrueType dialog face, "MS Shell Dlg 2", at the same size.
  void SetFont(std::string_view name, int height);
  // The dots per inch the form is shown at.
  int Dpi() const { return dpi_; }
  // Scales the controls and the font; the form's own place is its
  // monitor's business (see WM_DPICHANGED).
  void ChangeScale(int to, int from) override;

  void Show();
  void Hide() { SetVisible(false); }
  void Close();
  // Becoming visible runs OnShow first.
  void SetVisible(bool on) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

  // The second step of creation, once whoever holds the form has its
  // pointer: runs OnCreate. An error there is reported and creation goes on.
  void AfterConstruction();

  // The application that made the form (TApplication::CreateForm), if any.
  TApplication* Application() const { return application_; }

  // A handler of this form by the name a layout gives it. The base knows
  // none; forms with handlers look them up in their table.
  virtual TPublishedHandler FindMethod(std::string_view name);

  // A key the form takes as a command wherever the focus is in it (F5, say),
  // before its controls see it. True when taken. The base takes none.
  virtual bool IsShortCut(const MSG& msg);

  // Takes an accelerator key press (Alt+letter, or a letter when the focused
  // control does not take typing) for the control whose caption marks it:
  // a letter one control marks presses it, a letter several share moves the
  // focus from one to the next. True when the press was taken.
  bool DialogChar(const MSG& msg);

  static TForm* FromWindow(HWND hwnd) { return dynamic_cast<TForm*>(TWinControl::FromWindow(hwnd)); }

 protected:
  // Reads the layout into the form, then makes its windows (hidden). Where
  // it is called, layout_loader.h and the LayoutWriter of every kind the
  // layout's Settings list must be in view: a program includes its list of
  // writers, which includes both.
  template <class Settings>
  void ReadForm(const BasicFormLayout<Settings>& layout) {
    FormLayoutBuilder<Settings> builder(*this);
    ReadLayout(*this, layout, builder);
    LayoutRead();
  }

  void CreateParams(TCreateParams& params) override;
  // The window gets the program's icon at its DPI's sizes.
  void CreateWnd() override;
  HFONT OwnFont() const override { return font_.get(); }
  bool DispatchByNumber(TMessage& message) override;

 private:
  friend class TApplication;
  void ApplyFont(TWinControl& control);
  void WMClose(TMessage& message);
  void WMActivate(TMessage& message);
  // A little after the form is activated, the visible windows it owns are
  // put back above it (see forms.cpp).
  void WMTimer(TMessage& message);
  void WMCommand(TMessage& message);
  void DMGetDefId(TMessage& message);
  void WMDpiChanged(TMessage& message);
  // Once its layout is read: the form at its monitor's DPI, its windows made.
  void LayoutRead();
  // At creation: the form at the DPI of the monitor it will stand on.
  void PlaceAtMonitorDpi();
  // Once its window is made: at the DPI of the monitor it stands on, should
  // that not be the one foreseen, and its real frame around the client area.
  void FitMadeWindow();
  // Its client area and controls at `dpi` (from the design at 96), its
  // icons too once it has a window; its place stays.
  void ScaleToDpi(int dpi);
  // The program's icon, big and small, loaded for the form's DPI (not
  // stretched from another size) and given to its window.
  void SetDpiIcons();
  // A dialog grows to hold controls that its font made larger than drawn.
  void FitClientToControls();
  void RecreateFont();

  TApplication* application_ = nullptr;
  bool sizeable_ = true;
  bool dialog_ = false;
  UniqueFont font_;
  UniqueIcon big_icon_, small_icon_;  // what the window shows; freed after it
  std::string font_name_;
  std::wstring font_face_;  // the face the font is made with (never a raster one)
  int font_height_ = 0;  // at 96 DPI
  int dpi_ = 96;
  TBounds design_{};  // position and client size at 96 DPI
  HWND last_focus_ = nullptr;
};

}  // namespace vexlan
