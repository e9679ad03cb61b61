// What the panel family's tests share. FakeControl is a windowless stand-in
// for the toolkit's custom control, to run the panel's rules natively
// (components/simple_panel.h names what a control base offers): it keeps its
// place, alignment and colour; counts invalidations and alignments; lays out
// the aligned children a test gives it as the toolkit does; and logs the
// messages that reach the toolkit's own handling (WM_SIZE,
// WM_WINDOWPOSCHANGED) or the default one.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "components/panel_settings.h"
#include "components/simple_panel.h"
#include "platform/toolkit/classes.h"
#include "platform/toolkit/control_layout.h"
#include "platform/toolkit/graphics.h"

namespace vexlan::testing {

class FakeControl : public TComponent {
 public:
  explicit FakeControl(TComponent* owner) : TComponent(owner) {}

  const TBounds& BoundsRect() const { return bounds_; }
  void SetBounds(int left, int top, int width, int height) { bounds_ = {left, top, width, height}; }
  // The whole outer size, less a line of `WindowBorder` pixels all round.
  TBounds ClientRect() const { return {0, 0, bounds_.Width - 2 * WindowBorder, bounds_.Height - 2 * WindowBorder}; }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align) { align_ = align; }
  TColor Color() const { return parent_color_ ? ParentColorValue : color_; }
  void SetColor(TColor color) { color_ = color, parent_color_ = false; }
  bool ParentColor() const { return parent_color_; }
  void SetParentColor(bool on) { parent_color_ = on; }
  void Invalidate() { ++Invalidations; }
  // Places `Children` as the toolkit does: AlignControls with the client area.
  void Realign() {
    ++Realigns;
    const TBounds client = ClientRect();
    TRect rect{0, 0, client.Width, client.Height};
    AlignControls(Children, rect);
  }
  void PaintTo(TCanvas& canvas) { Paint(canvas); }

  int WindowBorder = 0;
  TColor ParentColorValue = clBtnFace;
  std::vector<AlignedChild> Children;
  int Invalidations = 0;
  int Realigns = 0;
  std::vector<std::uint32_t> ToolkitHandled;  // message numbers, in order
  std::vector<std::uint32_t> DefaultHandled;

 protected:
  virtual void Paint(TCanvas&) {}
  virtual void AlignControls(std::span<AlignedChild> children, TRect& Rect) {
    AlignChildren({Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top}, children);
  }
  bool DispatchByNumber(TMessage& message) override {
    if (message.Msg != msg::kSize && message.Msg != msg::kWindowPosChanged) return false;
    ToolkitHandled.push_back(message.Msg);
    return true;
  }
  void DefaultHandler(TMessage& message) override { DefaultHandled.push_back(message.Msg); }

 private:
  TBounds bounds_;
  TAlign align_ = alNone;
  TColor color_ = clWindow;
  bool parent_color_ = true;
};

// What a panel's decorations hold, comparable as a whole.
struct DecorationState {
  PanelBorderSettings Border{};
  PanelBevelSettings BevelOuter{};
  PanelBevelSettings BevelInner{};
  TPanelWallpaperStyle WallpaperStyle = wpTile;
  bool Picture = false;
  friend bool operator==(const DecorationState&, const DecorationState&) = default;
};

template <class Panel>
DecorationState DecorationsOf(const Panel& p) {
  const auto bevel = [](const TPanelBevel& b) {
    return PanelBevelSettings{b.Sides(), b.Style(), b.Depth(), b.SpaceOuter(), b.SpaceInner()};
  };
  return {{p.Border().Sides(), p.Border().Style()}, bevel(p.BevelOuter()), bevel(p.BevelInner()),
          p.Wallpaper().Style(), !p.Wallpaper().Bitmap().Empty()};
}

// A component that runs `at_end` when it is destroyed.
class AtDestruction : public TComponent {
 public:
  AtDestruction(TComponent* owner, std::function<void()> at_end) : TComponent(owner), at_end_(std::move(at_end)) {}
  ~AtDestruction() override { at_end_(); }

 private:
  std::function<void()> at_end_;
};

}  // namespace vexlan::testing
