#include "winutil/window_actions.h"

namespace vexlan {

void ShowOrHideWindow(WindowServices& ws, ShowHideServices& show_hide, WindowHandle wnd, bool show) {
  unsigned flags = kSwpNoSize | kSwpNoMove | (show ? kSwpShowWindow : kSwpHideWindow);
  if (!ws.SendWithTimeout(wnd, msg::kNull, 0, 0, kSendTimeoutMs)) flags |= kSwpAsyncWindowPos;
  show_hide.SetWindowPos(wnd, kHwndNoTopMost, flags);
}

}  // namespace vexlan
