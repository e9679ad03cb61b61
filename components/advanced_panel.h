// The panel with decorations: a border, an outer and an inner bevel and a
// wallpaper, which it owns for its whole life. It paints them from the
// outside in, each frame inside what the frames outside it left, the
// wallpaper (in the panel's colour wherever its picture does not reach) on
// what remains: the content rectangle, where its aligned children sit.
// Any change of a decoration lays the children out again and repaints the
// whole panel. See simple_panel.h for the control base it is written over.
#pragma once

#include <string>

#include "components/panel_frames.h"
#include "components/panel_settings.h"
#include "components/panel_wallpaper.h"
#include "components/simple_panel.h"

namespace vexlan {

template <class SimplePanelBase>
class AdvancedPanel : public SimplePanelBase {
 public:
  // A raised outer bevel one ring deep on all four sides, nothing else.
  explicit AdvancedPanel(TComponent* owner) : SimplePanelBase(owner) {
    bevel_outer_.SetStyle(bvRaised);  // before the panel listens: no change to act on
    const auto changed = [this](TObject* sender) { DecorationChanged(sender); };
    border_.OnChange = changed;
    bevel_outer_.OnChange = changed;
    bevel_inner_.OnChange = changed;
    wallpaper_.OnChange = changed;
  }
  ~AdvancedPanel() override { this->BeginDestroying(); }
  std::string ClassName() const override { return "TCustomAdvancedPanel"; }

  // The owned decorations. Writing one copies the given object's values into
  // the panel's own (Assign), which notifies the panel even when nothing
  // differs; the caller keeps its object.
  TPanelBorder& Border() { return border_; }
  const TPanelBorder& Border() const { return border_; }
  void SetBorder(const TPanelBorder& value) { border_.Assign(value); }
  TPanelBevel& BevelOuter() { return bevel_outer_; }
  const TPanelBevel& BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(const TPanelBevel& value) { bevel_outer_.Assign(value); }
  TPanelBevel& BevelInner() { return bevel_inner_; }
  const TPanelBevel& BevelInner() const { return bevel_inner_; }
  void SetBevelInner(const TPanelBevel& value) { bevel_inner_.Assign(value); }
  TPanelWallpaper& Wallpaper() { return wallpaper_; }
  const TPanelWallpaper& Wallpaper() const { return wallpaper_; }
  void SetWallpaper(const TPanelWallpaper& value) { wallpaper_.Assign(value); }

  // The client area less the room the three frames take on their resolved
  // sides. Frames wider than the panel leave it crossed over, as it is.
  void GetContentRect(TRect& Rect) override {
    SimplePanelBase::GetContentRect(Rect);
    border_.AdjustRect(Rect, this->ResolveSides(border_.Sides()));
    bevel_outer_.AdjustRect(Rect, this->ResolveSides(bevel_outer_.Sides()));
    bevel_inner_.AdjustRect(Rect, this->ResolveSides(bevel_inner_.Sides()));
  }
  // What every decoration's change leads to: the children laid out in the
  // new content rectangle, then one repaint of the whole panel.
  virtual void DecorationChanged(TObject*) {
    if (this->Destroying()) return;
    this->ContentRectChanged(true);
    this->Invalidate();
  }

 protected:
  // Replaces the simple panel's painting. The frames paint their own bands
  // and the wallpaper the rest, so every pixel of the client area is
  // painted. The design outline shows only when no frame has a style.
  void Paint(TCanvas& Canvas) override {
    if (this->Destroying()) return;
    const TBounds client = this->ClientRect();
    TRect rect{0, 0, client.Width, client.Height};
    const auto frame = [&](const auto& decoration) {
      const TPanelSides sides = this->ResolveSides(decoration.Sides());
      decoration.Draw(Canvas, rect, sides);
      decoration.AdjustRect(rect, sides);
    };
    frame(border_);
    frame(bevel_outer_);
    frame(bevel_inner_);
    wallpaper_.Draw(Canvas, rect, this->Color());
    if (this->Designing() && border_.Style() == bsNone && bevel_inner_.Style() == bvNone &&
        bevel_outer_.Style() == bvNone) {
      this->DrawDesignFrame(Canvas);
    }
  }

 private:
  TPanelBorder border_;
  TPanelBevel bevel_outer_;
  TPanelBevel bevel_inner_;
  TPanelWallpaper wallpaper_;
};

// Writes a layout row's settings into `panel` as reading a form file does:
// the colour, then each decoration through its property, that is, copied in
// by Assign. EInvalidGraphic when the wallpaper's bytes are no picture the
// toolkit reads; the decorations written before it stay.
template <class Panel>
void WriteAdvancedPanelSettings(Panel& panel, const AdvancedPanelSettings& s) {
  panel.SetColor(s.Color);
  panel.SetParentColor(s.ParentColor);
  TPanelBorder border;
  border.SetSides(s.Border.Sides);
  border.SetStyle(s.Border.Style);
  panel.SetBorder(border);
  const auto bevel = [](const PanelBevelSettings& b, TPanelBevel& out) -> const TPanelBevel& {
    out.SetSides(b.Sides);
    out.SetStyle(b.Style);
    out.SetDepth(b.Depth);
    out.SetSpaceOuter(b.SpaceOuter);
    out.SetSpaceInner(b.SpaceInner);
    return out;
  };
  TPanelBevel outer, inner;
  panel.SetBevelOuter(bevel(s.BevelOuter, outer));
  panel.SetBevelInner(bevel(s.BevelInner, inner));
  TPanelWallpaper wallpaper;
  wallpaper.SetStyle(s.Wallpaper.Style);
  if (!s.Wallpaper.Bitmap.empty()) wallpaper.Bitmap().LoadFromMemory(s.Wallpaper.Bitmap);
  panel.SetWallpaper(wallpaper);
}

}  // namespace vexlan
