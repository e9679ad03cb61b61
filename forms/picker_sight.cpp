#include "forms/picker_sight.h"

#include "platform/win32/win32_window_services.h"

namespace vexlan {

namespace {
constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
}  // namespace

void TPickerSight::Opened(HWND picker) { ::SetWindowPos(picker, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly); }

void TPickerSight::Pointed(WindowHandle under) { frame_.Follow(ToHwnd(under)); }

void TPickerSight::Closed(HWND picker) {
  frame_.Hide();
  ::SetWindowPos(picker, HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderOnly);
}

}  // namespace vexlan
