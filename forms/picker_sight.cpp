#include "forms/picker_sight.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/win32/win32_window_services.h"

namespace vexlan {

namespace {
constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
// How far down the Z order InSight looks for the picker and the frame
// before it calls them covered: hidden windows made since the last
// re-placing stand above them; a re-placing puts them below again.
constexpr int kMostLooks = 64;
}  // namespace

TPickerSight::TPickerSight() {
  frozen_timer_.SetEnabled(false);
  frozen_timer_.SetInterval(kFrozenTickMs);
  frozen_timer_.OnTimer = [this](TObject*) {
    Keep();
    frame_.Follow(target_);
  };
}

void TPickerSight::Opened(HWND picker) {
  picker_ = picker;
  target_ = nullptr;
  foreground_ = nullptr;
  left_ = false;
  ::SetWindowPos(picker, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);
}

bool TPickerSight::Ours(HWND wnd) {
  DWORD process = 0;
  return wnd && ::GetWindowThreadProcessId(wnd, &process) && process == ::GetCurrentProcessId();
}

bool TPickerSight::InSight() const {
  std::array<HWND, THighlightFrame::kBands> bands{};
  int left = 1 + frame_.ShownBands(bands);  // the picker and the bands
  int looks = 0;
  for (HWND w = ::GetTopWindow(nullptr); w && left > 0; w = ::GetWindow(w, GW_HWNDNEXT)) {
    if (++looks > kMostLooks) return false;
    if (w == picker_ || std::find(bands.begin(), bands.end(), w) != bands.end()) {
      --left;
      continue;
    }
    if (!::IsWindowVisible(w) || Ours(w)) continue;
    return false;  // another program's window above one of them
  }
  return left == 0;
}

void TPickerSight::Keep() {
  if (!picker_) return;
  // Wine without a window manager raises an activated window above every
  // other on the screen, topmost ones included, while its own Z order
  // keeps them above it: only the new foreground tells.
  const HWND foreground = ::GetForegroundWindow();
  const bool activated = foreground != foreground_ && !Ours(foreground);
  foreground_ = foreground;
  const bool activated_since = activated || std::exchange(left_, false);
  if (!activated_since && InSight()) return;
  ::SetWindowPos(picker_, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);
  frame_.Raise();
}

void TPickerSight::Pointed(WindowHandle under) {
  target_ = ToHwnd(under);
  frame_.Follow(target_);
}

void TPickerSight::SetFrozen(bool frozen) { frozen_timer_.SetEnabled(frozen && picker_); }

void TPickerSight::Closed(HWND picker) {
  frozen_timer_.SetEnabled(false);
  frame_.Hide();
  picker_ = nullptr;
  target_ = nullptr;
  ::SetWindowPos(picker, HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderOnly);
}

}  // namespace vexlan
