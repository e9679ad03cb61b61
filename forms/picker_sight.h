// What keeps the Find Element picker and the window it points at in sight:
// while the picker is shown it stands above other programs' windows, so the
// program pointed at never covers it when it comes to the front, and the
// highlight frame surrounds the window the picker shows. The picker's
// handlers call it; it keeps no state of the picker's.
#pragma once

#include <windows.h>

#include "platform/window_services.h"
#include "winutil/win32/highlight_frame.h"

namespace vexlan {

class TPickerSight {
 public:
  // The picker is being shown: it goes on top of other programs' windows.
  void Opened(HWND picker);
  // A tick found `under` at the cursor: the frame goes around it (moved only
  // when that window or its rectangle changed). A frozen picker calls
  // nothing, so the frame stays where it is.
  void Pointed(WindowHandle under);
  // The picker closes: the frame goes, and the picker stands among the other
  // windows again.
  void Closed(HWND picker);

 private:
  THighlightFrame frame_;
};

}  // namespace vexlan
