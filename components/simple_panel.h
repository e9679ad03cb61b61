// The root of the panel family: a container control that paints its whole
// area itself, never lets its background be erased, tells its user of every
// change of its window's position (OnResize), and lays out its aligned
// children inside a content rectangle that descendants narrow
// (GetContentRect). It also turns a decoration's side set into real edges
// under its own alignment (ResolveSides).
//
// The panels are written over their control base, a template parameter, so
// that the same rules run on a real window (components/win32/advanced_panel.h)
// and, in native tests, on a windowless stand-in. The base is a TComponent
// offering, as the toolkit's TWinControl does:
//   TBounds BoundsRect() const;  void SetBounds(int, int, int, int);
//   TBounds ClientRect() const;  (origin 0, 0)
//   TAlign Align() const;  TColor Color() const;  void SetColor(TColor);
//   void SetParentColor(bool);  void Invalidate();  void Realign();
// and, for the panel to override:
//   virtual void Paint(TCanvas&);
//   virtual void AlignControls(std::span<AlignedChild>, TRect&);  (Realign's
//     step, which gets the client area and places the children in it)
//   bool DispatchByNumber(TMessage&) override;  (the toolkit's handling of
//     WM_SIZE and WM_WINDOWPOSCHANGED)
//
// Once its destruction has begun (TComponent::Destroying) a panel neither
// paints nor lays out nor reports a resize, whatever message or change
// arrives.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "components/panel_settings.h"
#include "components/panel_sides.h"
#include "platform/toolkit/classes.h"
#include "platform/toolkit/control_layout.h"
#include "platform/toolkit/events.h"
#include "platform/toolkit/graphics.h"
#include "platform/windows_constants.h"

namespace vexlan {

// The line a panel's window has around it, chosen when the window is made.
enum TWindowBorderStyle : std::uint8_t { wbsNone, wbsSingle };

template <class Control>
class SimplePanel : public Control {
 public:
  explicit SimplePanel(TComponent* owner) : Control(owner) {
    this->SetBounds(0, 0, kPanelDefaultSize, kPanelDefaultSize);
  }
  ~SimplePanel() override { this->BeginDestroying(); }
  std::string ClassName() const override { return "TCustomSimplePanel"; }

  // After each change of the window's position (a move, a resize, a new
  // place in the stacking order), once the toolkit has handled it; never
  // while the panel is loading.
  TNotifyEvent OnResize;

  TWindowBorderStyle WindowBorderStyle() const { return window_border_style_; }
  // Takes effect when the window is made.
  void SetWindowBorderStyle(TWindowBorderStyle style) { window_border_style_ = style; }

  // The rectangle inside the decorations, in client coordinates: here the
  // whole client area. Painting and the alignment of children use it.
  virtual void GetContentRect(TRect& Rect) {
    const TBounds client = this->ClientRect();
    Rect = {0, 0, client.Width, client.Height};
  }
  // The content rectangle may have changed: with DoRealign the aligned
  // children are laid out inside it again.
  virtual void ContentRectChanged(bool DoRealign) {
    if (DoRealign && !this->Destroying()) this->Realign();
  }
  // Sizes the panel so that its content rectangle becomes AWidth by AHeight:
  // the request plus what the decorations take of the client area on each
  // axis. Left and Top stay.
  virtual void SetContentSize(int AWidth, int AHeight) {
    TRect content;
    GetContentRect(content);
    const TBounds client = this->ClientRect(), place = this->BoundsRect();
    const std::int64_t width = std::int64_t{AWidth} + client.Width - (std::int64_t{content.Right} - content.Left);
    const std::int64_t height = std::int64_t{AHeight} + client.Height - (std::int64_t{content.Bottom} - content.Top);
    this->SetBounds(place.Left, place.Top, ClampToInt32(width), ClampToInt32(height));
  }
  // `Sides` with the real edges its relative members stand for under the
  // panel's current alignment (ResolvePanelSides), read at every call.
  TPanelSides ResolveSides(TPanelSides Sides) const { return ResolvePanelSides(Sides, this->Align()); }

 protected:
  // Fills the content rectangle with the panel's colour; in the designing
  // state, the outline after it.
  void Paint(TCanvas& Canvas) override {
    if (this->Destroying()) return;
    TRect content;
    GetContentRect(content);
    Canvas.Brush.Color = this->Color();
    Canvas.Brush.Style = bsSolid;
    Canvas.FillRect(content);
    if (this->Designing()) DrawDesignFrame(Canvas);
  }
  // A dotted clBtnShadow line along the inside edge of the client area, so
  // that a panel without decorations can be seen while it is designed.
  virtual void DrawDesignFrame(TCanvas& Canvas) {
    const TBounds client = this->ClientRect();
    Canvas.Brush.Color = this->Color();
    Canvas.Brush.Style = bsSolid;
    Canvas.Pen.Color = clBtnShadow;
    Canvas.Pen.Style = psDot;
    Canvas.MoveTo(0, client.Height - 1);
    Canvas.LineTo(0, 0);
    Canvas.LineTo(client.Width - 1, 0);
    Canvas.LineTo(client.Width - 1, client.Height - 1);
    Canvas.LineTo(0, client.Height - 1);
  }
  virtual void Resize() {
    if (OnResize) OnResize(this);
  }
  // Places the aligned children inside the content rectangle, whatever
  // rectangle it is given; `Rect` receives the content rectangle.
  void AlignControls(std::span<AlignedChild> children, TRect& Rect) override {
    if (this->Destroying()) return;
    GetContentRect(Rect);
    Control::AlignControls(children, Rect);
  }
  bool DispatchByNumber(TMessage& message) override {
    static const MessageHandler<SimplePanel> table[] = {
        {msg::kSize, &SimplePanel::WMSize},
        {msg::kEraseBkgnd, &SimplePanel::WMEraseBkgnd},
        {msg::kWindowPosChanged, &SimplePanel::WMWindowPosChanged},
    };
    return DispatchTable(*this, table, message) || Control::DispatchByNumber(message);
  }

 private:
  // The handling of the classes below this one.
  void Inherited(TMessage& message) {
    if (!Control::DispatchByNumber(message)) this->DefaultHandler(message);
  }
  void WMSize(TMessage& message) {
    Inherited(message);
    ContentRectChanged(false);
  }
  // Paint covers every pixel: nothing is erased, and the answer says so.
  void WMEraseBkgnd(TMessage& message) { message.Result = 1; }
  void WMWindowPosChanged(TMessage& message) {
    const bool acting = !this->Destroying();
    if (acting) this->Invalidate();
    Inherited(message);
    if (acting && !this->Loading()) Resize();
  }

  TWindowBorderStyle window_border_style_ = wbsNone;
};

}  // namespace vexlan
