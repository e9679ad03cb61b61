// Changes to any program's window over user32 (platform/platform_services.h).
#pragma once

#include "platform/platform_services.h"

namespace vexlan {

class Win32WindowChanges : public WindowChangeServices {
 public:
  SendResult PlaceWindow(WindowHandle wnd, WindowHandle insert_after, const WindowPlace& place,
                         unsigned flags) override;
  SendResult EnableWindow(WindowHandle wnd, bool enable) override;
  SendResult SetStyleValue(WindowHandle wnd, int index, std::uint32_t value) override;
  SendResult SetForegroundWindow(WindowHandle wnd) override;
};

}  // namespace vexlan
