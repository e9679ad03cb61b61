// A windowless stand-in for the toolkit's custom control, to run the panel
// family's rules natively (components/simple_panel.h names what a control
// base offers). It keeps its place, alignment and colour; counts
// invalidations and alignments; lays out the aligned children a test gives
// it as the toolkit does; and logs the messages that reach the toolkit's
// own handling (WM_SIZE, WM_WINDOWPOSCHANGED) or the default one.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

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
  void Realign();
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
  virtual void AlignControls(std::span<AlignedChild> children, TRect& Rect);
  bool DispatchByNumber(TMessage& message) override;
  void DefaultHandler(TMessage& message) override { DefaultHandled.push_back(message.Msg); }

 private:
  TBounds bounds_;
  TAlign align_ = alNone;
  TColor color_ = clWindow;
  bool parent_color_ = true;
};

}  // namespace vexlan::testing
