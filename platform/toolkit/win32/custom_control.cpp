#include "platform/toolkit/win32/custom_control.h"

#include <exception>
#include <utility>

#include "platform/toolkit/win32/dialogs.h"
#include "platform/toolkit/win32/gdi_canvas.h"
#include "platform/utf.h"

namespace vexlan {

namespace {

// BeginPaint and EndPaint around a scope, so that the region the system
// asked to be painted is validated however the scope is left.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &paint_)) {}
  ~PaintScope() { ::EndPaint(hwnd_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

}  // namespace

void TCustomControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  const std::u16string name = Utf8ToUtf16(ClassName());
  params.WindowClass.assign(name.begin(), name.end());
  params.ClassStyle |= CS_HREDRAW | CS_VREDRAW;
}

bool TCustomControl::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TCustomControl> table[] = {{WM_PAINT, &TCustomControl::WMPaint}};
  return DispatchTable(*this, table, message) || TWinControl::DispatchByNumber(message);
}

void TCustomControl::WMPaint(TMessage& message) {
  std::exception_ptr failure;
  {
    PaintScope scope(BoundWindow());
    if (scope.dc()) {
      try {
        TGdiCanvas canvas(scope.dc());
        Paint(canvas);
      } catch (...) {
        failure = std::current_exception();
      }
    }
  }
  message.Result = 0;
  if (!failure) {
    paint_failure_reported_ = false;
    return;
  }
  // Reported after EndPaint: the box's own message loop finds nothing here
  // left to paint, and later failures are not reported again.
  if (!std::exchange(paint_failure_reported_, true)) ShowException(failure);
}

}  // namespace vexlan
