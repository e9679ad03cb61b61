// The window-services seam over user32, and the handle conversions the shell
// uses wherever a core handle meets an HWND.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/window_services.h"

namespace vexlan {

// Handles are 32-bit values sign-extended into HWND, as Windows guarantees
// for handles shared between 32- and 64-bit processes.
inline HWND ToHwnd(WindowHandle h) { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(h)); }
inline WindowHandle FromHwnd(HWND h) {
  return static_cast<WindowHandle>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(h)));
}

class Win32WindowServices : public WindowServices {
 public:
  WindowHandle TopWindow() override;
  WindowHandle NextSibling(WindowHandle wnd) override;
  WindowHandle FirstChild(WindowHandle wnd) override;
  std::u16string WindowText(WindowHandle wnd, int max_count) override;
  std::u16string ClassName(WindowHandle wnd, int max_count) override;
  bool IsVisible(WindowHandle wnd) override;
  std::uint32_t ClassAtom(WindowHandle wnd) override;
  std::uint32_t ThreadOf(WindowHandle wnd) override;
  WindowHandle ParentOf(WindowHandle wnd) override;
  WindowHandle PreviousSibling(WindowHandle wnd) override;
  bool Exists(WindowHandle wnd) override;
  bool OnCallerThread(WindowHandle wnd) override;
  bool InCallerProcess(WindowHandle wnd) override;
  ProcessRights RightsOf(WindowHandle wnd) override;
  ProcessRights OwnRights() override;
  SendResult SendWithTimeout(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam,
                             unsigned timeout_ms) override;
};

// Why a call of user32 failed, from GetLastError right after it: a failed
// SendMessageTimeout that names no other reason timed out (the system may
// leave the error at 0 for a hung window); other calls, kOther.
SendError LastSendError(bool send_with_timeout);

// The one instance the program uses.
WindowServices& SystemWindowServices();

}  // namespace vexlan
