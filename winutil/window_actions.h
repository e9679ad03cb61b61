// Showing and hiding another program's window in place.
#pragma once

#include "platform/platform_services.h"
#include "platform/window_services.h"

namespace vexlan {

// SetWindowPos asks the target's thread to take part; a thread that does not
// answer would stop us with it.
inline constexpr unsigned kSwpAsyncWindowPos = 0x4000;

// Shows or hides `wnd` where it is, at its size, and takes away its
// always-on-top state: SetWindowPos with HWND_NOTOPMOST, no position and no
// size, and SWP_NOSIZE | SWP_NOMOVE with SWP_SHOWWINDOW (0x0043) or
// SWP_HIDEWINDOW (0x0083). A target that does not answer a WM_NULL within
// kSendTimeoutMs gets the same call with SWP_ASYNCWINDOWPOS, which takes
// effect when it answers again, instead of holding us until then.
void ShowOrHideWindow(WindowServices& ws, ShowHideServices& show_hide, WindowHandle wnd, bool show);

}  // namespace vexlan
