// The constants of platform/windows_constants.h checked against the system
// headers at compile time: a mistyped value does not build.
#include <windows.h>

#include <cstdint>

#include "platform/windows_constants.h"

namespace vexlan {
namespace {

static_assert(msg::kNull == WM_NULL);
static_assert(msg::kDestroy == WM_DESTROY);
static_assert(msg::kSize == WM_SIZE);
static_assert(msg::kEnable == WM_ENABLE);
static_assert(msg::kClose == WM_CLOSE);
static_assert(msg::kSetText == WM_SETTEXT);
static_assert(msg::kGetText == WM_GETTEXT);
static_assert(msg::kGetTextLength == WM_GETTEXTLENGTH);
static_assert(msg::kEraseBkgnd == WM_ERASEBKGND);
static_assert(msg::kWindowPosChanged == WM_WINDOWPOSCHANGED);
static_assert(msg::kStyleChanging == WM_STYLECHANGING);
static_assert(msg::kStyleChanged == WM_STYLECHANGED);
static_assert(msg::kLButtonDown == WM_LBUTTONDOWN);
static_assert(msg::kLButtonUp == WM_LBUTTONUP);
static_assert(msg::kRButtonDown == WM_RBUTTONDOWN);
static_assert(msg::kRButtonUp == WM_RBUTTONUP);
static_assert(msg::kHotKey == WM_HOTKEY);

static_assert(kMkLButton == MK_LBUTTON);
static_assert(kMkRButton == MK_RBUTTON);

static_assert(kModAlt == MOD_ALT);
static_assert(kModControl == MOD_CONTROL);
static_assert(kModShift == MOD_SHIFT);
static_assert(kModWin == MOD_WIN);
static_assert(kModNoRepeat == MOD_NOREPEAT);

static_assert(kSwpNoSize == SWP_NOSIZE);
static_assert(kSwpNoMove == SWP_NOMOVE);
static_assert(kSwpShowWindow == SWP_SHOWWINDOW);
static_assert(kSwpHideWindow == SWP_HIDEWINDOW);
static_assert(kSwpNoZOrder == SWP_NOZORDER);
static_assert(kSwpNoActivate == SWP_NOACTIVATE);
static_assert(kSwpFrameChanged == SWP_FRAMECHANGED);
static_assert(kSwpAsyncWindowPos == SWP_ASYNCWINDOWPOS);

static_assert(kGwlStyle == GWL_STYLE);
static_assert(kGwlExStyle == GWL_EXSTYLE);
static_assert(kWsChild == WS_CHILD);
static_assert(kWsExTopMost == WS_EX_TOPMOST);

// HWND_NOTOPMOST is ((HWND)-2), a pointer, which no constant expression may
// make; with HWND naming an integer type in this scope the same macro is
// the number.
namespace handle_as_number {
using HWND = std::intptr_t;
static_assert(kHwndNoTopMost == HWND_NOTOPMOST);
static_assert(kHwndTop == HWND_TOP);
static_assert(kHwndBottom == HWND_BOTTOM);
static_assert(kHwndTopMost == HWND_TOPMOST);
static_assert(kHwndMessage == HWND_MESSAGE);
static_assert(kHwndBroadcast == HWND_BROADCAST);
}  // namespace handle_as_number

}  // namespace
}  // namespace vexlan
