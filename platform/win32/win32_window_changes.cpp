#include "platform/win32/win32_window_changes.h"

#include <windows.h>

#include "platform/win32/win32_window_services.h"

namespace vexlan {

namespace {

// A call whose result says nothing of failure: the error it left, read
// with the window's existence after it.
SendResult AfterCall(HWND hwnd) {
  const DWORD error = ::GetLastError();
  if (!::IsWindow(hwnd)) return SendResult::Failed(SendError::kNoWindow);
  return error == ERROR_ACCESS_DENIED ? SendResult::Failed(SendError::kAccessDenied) : SendResult::Answered(0);
}

}  // namespace

SendResult Win32WindowChanges::PlaceWindow(WindowHandle wnd, WindowHandle insert_after, const WindowPlace& place,
                                           unsigned flags) {
  if (::SetWindowPos(ToHwnd(wnd), ToHwnd(insert_after), place.Left, place.Top, place.Width, place.Height, flags)) {
    return SendResult::Answered(0);
  }
  return SendResult::Failed(LastSendError(false));
}

SendResult Win32WindowChanges::EnableWindow(WindowHandle wnd, bool enable) {
  // Its result is the window's state before, not whether it worked.
  ::SetLastError(0);
  ::EnableWindow(ToHwnd(wnd), enable ? TRUE : FALSE);
  return AfterCall(ToHwnd(wnd));
}

SendResult Win32WindowChanges::SetStyleValue(WindowHandle wnd, int index, std::uint32_t value) {
  // The value before may be 0: only the error tells a failure.
  ::SetLastError(0);
  if (::SetWindowLongPtrW(ToHwnd(wnd), index, static_cast<LONG_PTR>(static_cast<LONG>(value))) == 0 &&
      ::GetLastError() != 0) {
    return SendResult::Failed(LastSendError(false));
  }
  return AfterCall(ToHwnd(wnd));
}

SendResult Win32WindowChanges::SetForegroundWindow(WindowHandle wnd) {
  if (::SetForegroundWindow(ToHwnd(wnd))) return SendResult::Answered(0);
  return SendResult::Failed(LastSendError(false));
}

}  // namespace vexlan
