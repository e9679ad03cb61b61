// What the Window Properties dialog reads of a window, over user32.
#pragma once

#include "platform/platform_services.h"

namespace vexlan {

// Every value comes from a call that reads what the system keeps and never
// sends the window a message nor waits for its thread, so a hung window is
// read at once. The caption is the system's copy (InternalGetWindowText,
// whatever process the window is in); the parent is the window a child
// window stands in (GetAncestor, GA_PARENT), the owner GetWindow's
// GW_OWNER; the DPI calls are found at run time, the awareness is unknown
// without them; the image is asked of the process with limited query rights.
class Win32WindowFacts : public WindowFactsServices {
 public:
  bool Exists(WindowHandle wnd) override;
  std::optional<WindowRecord> Record(WindowHandle wnd) override;
  std::optional<std::u16string> ProcessImage(std::uint32_t process_id) override;
};

}  // namespace vexlan
