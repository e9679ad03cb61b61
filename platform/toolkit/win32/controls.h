// The windowed control base of the toolkit: a component with a window,
// placed in a parent, aligned, visited by Tab in its tab order, drawing with
// its form's font. Messages reach the object through the window binding and
// are dispatched by number up the class chain (TObject::Dispatch); what no
// class handles gets the window's default processing.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "platform/toolkit/classes.h"
#include "platform/toolkit/control_layout.h"
#include "platform/toolkit/events.h"
#include "platform/toolkit/graphics.h"
#include "platform/toolkit/layout.h"
#include "platform/toolkit/win32/window_binding.h"

namespace vexlan {

class TPopupMenu;

// Notifications a parent hands back to the control that sent them
// (WM_COMMAND, WM_NOTIFY). They are dispatched to the control's object,
// never sent to a window; the range is one the platform leaves unused.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

// How a control's window is made; each class adds to what its base sets.
struct TCreateParams {
  std::wstring WindowClass;
  UINT ClassStyle = CS_DBLCLKS;    // for our own classes, fixed at their first window
  DWORD Style = 0;
  DWORD ExStyle = 0;
  bool Standard = false;           // a system class: created, then subclassed
  HBRUSH Background = nullptr;     // for our own classes
  HWND WndParent = nullptr;        // the owner of a top-level window
};

class TWinControl : public TComponent, public WindowReceiver {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  TWinControl* Parent() const { return parent_; }
  // Moves the control into `parent` (nullptr: out of any), last in its tab
  // order unless a layout is being read. Outside loading, the window is made
  // at once when the parent has one.
  void SetParent(TWinControl* parent);
  // The children, in tab order.
  std::vector<TWinControl*> Controls() const;

  // Place in the parent's client area (a form: on the screen, outer size).
  // Read from the window once it exists, so user moves are seen.
  const TBounds& BoundsRect() const { return bounds_; }
  void SetBounds(int left, int top, int width, int height);
  void SetBoundsRect(const TBounds& b) { SetBounds(b.Left, b.Top, b.Width, b.Height); }
  // The client area, origin 0,0.
  TBounds ClientRect() const;
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  // Lays out the aligned children again (see AlignControls).
  void Realign();
  // Repaints the whole control at the next WM_PAINT.
  void Invalidate();

  // The colour the control paints its background with. With ParentColor
  // (the default) it is the parent's colour, read at each use; a control
  // without a parent has its own, clWindow unless set. Setting a colour
  // clears ParentColor; both repaint the control and its children.
  TColor Color() const;
  void SetColor(TColor color);
  bool ParentColor() const { return parent_color_; }
  void SetParentColor(bool on);

  // Position among the parent's children when Tab moves focus. Setting it
  // moves the control there and renumbers its siblings 0..n-1; while a
  // layout is read, values are kept as given and sorted afterwards.
  int TabOrder() const { return tab_order_; }
  void SetTabOrder(int order);
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool on);
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool on);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  // The window text (a button's or form's caption, an edit's content).
  std::string Text() const;
  void SetText(const std::string& text);
  // Shown on right click and the context-menu key.
  TPopupMenu* PopupMenu() const { return popup_menu_; }
  void SetPopupMenu(TPopupMenu* menu);

  // The window, made (with the parent's first) when it does not exist yet.
  HWND Handle();
  bool HandleAllocated() const { return BoundWindow() != nullptr; }
  void HandleNeeded();
  bool Focused() const;
  void SetFocus();
  // The font the control draws with: its form's.
  HFONT FontHandle() const;

  // The form's font changed (for its DPI, say); the control has been given
  // the new one.
  virtual void FontChanged() {}
  // Shows the control at `to` dots per inch after `from`: its place and
  // size, and its children's, scaled (see ScaleBounds).
  virtual void ChangeScale(int to, int from);

  // The accelerator character its caption marks (see mnemonics.h), or 0.
  virtual char32_t Mnemonic() const { return 0; }
  // An accelerator press reached the control: `activate` when its letter is
  // unique (a button is pressed), otherwise it only gets the focus.
  virtual void MnemonicActivate(bool activate);

  void Loaded() override;

  // Our control bound to `hwnd`, or nullptr.
  static TWinControl* FromWindow(HWND hwnd);

  // Entry point of every message for the window, and for the notifications
  // handed back by the parent; overrides see a message before dispatch.
  virtual void WndProc(TMessage& message);

 protected:
  virtual void CreateParams(TCreateParams& params);
  // Places the aligned children (`children`, their current places updated
  // in place) inside `Rect`, which Realign sets to the client area; see
  // AlignChildren.
  virtual void AlignControls(std::span<AlignedChild> children, TRect& Rect);
  // Runs right after the window exists, before the children's are made.
  virtual void CreateWnd();
  void DefaultHandler(TMessage& message) override;
  bool DispatchByNumber(TMessage& message) override;
  // A form's own font; controls use the nearest one up the parent chain.
  virtual HFONT OwnFont() const { return nullptr; }
  // Where a menu opened from the keyboard appears (screen coordinates).
  virtual POINT KeyboardMenuPoint();

  LRESULT ReceiveMessage(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  friend class TPopupMenu;
  void CreateHandle();
  void NormalizeTabOrders();
  void ApplyTabOrder();
  void ReadBoundsFromWindow();
  // Our control `hwnd` when it lies inside this control, else nullptr.
  TWinControl* OwnDescendant(HWND hwnd) const;
  void WMSize(TMessage& message);
  void WMWindowPosChanged(TMessage& message);
  // Hands a notification from `source` back to it as `reflected_msg` when it
  // is a control of ours inside this one; otherwise the default handling.
  void ReflectTo(HWND source, std::uint32_t reflected_msg, TMessage& message);
  void WMCommand(TMessage& message);
  void WMNotify(TMessage& message);
  void WMContextMenu(TMessage& message);

  TWinControl* parent_ = nullptr;
  std::vector<TWinControl*> children_;  // in creation order
  TBounds bounds_;
  TAlign align_ = alNone;
  TColor color_ = clWindow;
  bool parent_color_ = true;
  int tab_order_ = kNoTabOrder;
  bool tab_stop_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  std::string text_;
  TPopupMenu* popup_menu_ = nullptr;
};

}  // namespace vexlan
