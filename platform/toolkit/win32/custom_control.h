// The windowed control that paints itself: each WM_PAINT hands Paint a canvas
// over the window (platform/toolkit/win32/gdi_canvas.h). Its window class is its
// own, named after the class, with no background brush and, unless a
// descendant says otherwise, a whole-window repaint on every size change.
#pragma once

#include "platform/toolkit/graphics.h"
#include "platform/toolkit/win32/controls.h"

namespace vexlan {

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}

  // Paints the control onto `canvas` as its window would be painted; for
  // pictures of a control (the render command, benchmarks).
  void PaintTo(TCanvas& canvas) { Paint(canvas); }

 protected:
  // Paints the control; the base paints nothing. An exception ends this
  // paint only: the window is still validated, and the error is reported
  // once, however many paints fail after it, until one succeeds.
  virtual void Paint(TCanvas&) {}

  void CreateParams(TCreateParams& params) override;
  bool DispatchByNumber(TMessage& message) override;

 private:
  void WMPaint(TMessage& message);

  bool paint_failure_reported_ = false;
};

}  // namespace vexlan
