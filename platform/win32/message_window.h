// Hidden message windows over user32.
//
// Each is a top-level window of one class, registered on first use, never
// shown and kept off the taskbar, like the utility windows other toolkits
// make: it receives what the system sends or posts to a window handle (hot
// keys in particular), and it appears in the desktop's list of windows. The
// class's procedure is the default one; the window is bound to its method
// (window_binding) once it has been created, so the messages of its creation
// get default processing and never reach a method whose owner does not know
// the handle yet.
#pragma once

#include <windows.h>

#include <map>
#include <memory>

#include "platform/platform_services.h"

namespace vexlan {

inline constexpr wchar_t kMessageWindowClass[] = L"VexlanMessageWindow";

class Win32MessageWindows : public MessageWindowServices {
 public:
  Win32MessageWindows();
  // Windows still there go without a message to their methods.
  ~Win32MessageWindows() override;
  Win32MessageWindows(const Win32MessageWindows&) = delete;
  Win32MessageWindows& operator=(const Win32MessageWindows&) = delete;

  WindowHandle CreateMessageWindow(MessageMethod method) override;
  void DestroyMessageWindow(WindowHandle wnd) override;
  std::intptr_t DefaultProcessing(WindowHandle wnd, const WindowMessage& message) override;

 private:
  class Window;
  std::map<WindowHandle, std::unique_ptr<Window>> windows_;
};

}  // namespace vexlan
