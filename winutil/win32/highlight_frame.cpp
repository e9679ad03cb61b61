#include "winutil/win32/highlight_frame.h"

#include <cstddef>

#include "platform/toolkit/win32/dpi.h"
#include "platform/toolkit/win32/window_binding.h"
#include "winutil/highlight_frame_bands.h"

namespace vexlan {

class THighlightFrame::Band : public WindowReceiver {
 public:
  Band() {
    // Made once, for the class's whole life, which is the program's.
    static const HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
    CreateBoundWindow(kHighlightFrameClass, 0, red,
                      WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT,
                      WS_POPUP, RECT{}, nullptr, 0, L"Vexlan highlight frame");
    // A layered window shows nothing until it is given its opacity.
    ::SetLayeredWindowAttributes(BoundWindow(), 0, 255, LWA_ALPHA);
  }
  ~Band() override { DestroyBoundWindow(); }

 protected:
  LRESULT ReceiveMessage(UINT msg, WPARAM wparam, LPARAM lparam) override {
    // Should the system ask after all, the answer is the same.
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return DefaultWindowProc(msg, wparam, lparam);
  }
};

namespace {

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

THighlightFrame::THighlightFrame() {
  flash_timer_.SetEnabled(false);
  flash_timer_.SetInterval(kFlashMs / (2 * kFlashes - 1));
  flash_timer_.OnTimer = [this](TObject*) { FlashTick(); };
}

THighlightFrame::~THighlightFrame() = default;

bool THighlightFrame::Surround(HWND target) {
  flash_timer_.SetEnabled(false);
  if (Place(target)) return true;
  HideBands();
  return false;
}

void THighlightFrame::Follow(HWND target) {
  RECT now{};
  if (target == target_ && target && ::GetWindowRect(target, &now) && SameRect(now, rect_)) return;
  Surround(target);
}

bool THighlightFrame::Flash(HWND target) {
  if (!Surround(target)) return false;
  flash_phase_ = 0;
  flash_timer_.SetEnabled(true);
  return true;
}

void THighlightFrame::Hide() {
  flash_timer_.SetEnabled(false);
  HideBands();
  target_ = nullptr;
}

bool THighlightFrame::Place(HWND target) {
  target_ = target;
  rect_ = RECT{};
  if (!target || !::GetWindowRect(target, &rect_)) return false;
  if (!::IsWindowVisible(target) || ::IsIconic(target) || ::IsIconic(::GetAncestor(target, GA_ROOT))) return false;
  const TRect screen{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                     ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                     ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  const POINT centre{rect_.left / 2 + rect_.right / 2, rect_.top / 2 + rect_.bottom / 2};
  const auto bands = HighlightBands(TRect{rect_.left, rect_.top, rect_.right, rect_.bottom}, screen,
                                    DpiAtPoint(centre));
  if (!bands) return false;
  for (auto& band : bands_) {
    if (!band) band = std::make_unique<Band>();
  }
  // All four move at once, to the top of the always-on-top windows.
  HDWP moves = ::BeginDeferWindowPos(4);
  for (std::size_t i = 0; i < bands_.size() && moves; ++i) {
    const TRect& r = (*bands)[i];
    const bool empty = r.Right <= r.Left || r.Bottom <= r.Top;
    moves = ::DeferWindowPos(moves, bands_[i]->BoundWindow(), HWND_TOPMOST, r.Left, r.Top, r.Right - r.Left,
                             r.Bottom - r.Top, SWP_NOACTIVATE | (empty ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
  }
  if (moves) ::EndDeferWindowPos(moves);
  shown_ = true;
  return true;
}

int THighlightFrame::ShownBands(std::array<HWND, kBands>& out) const {
  out.fill(nullptr);
  int n = 0;
  if (!shown_) return 0;
  for (const auto& band : bands_) {
    if (band && ::IsWindowVisible(band->BoundWindow())) out[static_cast<std::size_t>(n++)] = band->BoundWindow();
  }
  return n;
}

void THighlightFrame::Raise() {
  std::array<HWND, kBands> shown{};
  ShownBands(shown);
  for (const HWND band : shown) {
    if (band) ::SetWindowPos(band, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void THighlightFrame::HideBands() {
  if (!shown_) return;
  for (auto& band : bands_) {
    ::SetWindowPos(band->BoundWindow(), nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  }
  shown_ = false;
}

void THighlightFrame::FlashTick() {
  if (++flash_phase_ >= 2 * kFlashes - 1) {
    Hide();
  } else if (flash_phase_ % 2 == 1) {
    HideBands();
  } else if (!Place(target_)) {
    Hide();  // gone from the screen meanwhile
  }
}

}  // namespace vexlan
