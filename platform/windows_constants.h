// The Windows message numbers and flags the portable code uses, by their
// platform values, in one place: the portable code never sees <windows.h>.
// Each carries its Windows name; platform/win32/windows_constants_check.cpp
// holds every one against the system headers when the program is built.
#pragma once

#include <cstdint>

namespace vexlan {

namespace msg {
inline constexpr unsigned kNull = 0x0000;              // WM_NULL
inline constexpr unsigned kDestroy = 0x0002;           // WM_DESTROY
inline constexpr unsigned kSize = 0x0005;              // WM_SIZE
inline constexpr unsigned kEnable = 0x000A;            // WM_ENABLE
inline constexpr unsigned kClose = 0x0010;             // WM_CLOSE
inline constexpr unsigned kSetText = 0x000C;           // WM_SETTEXT
inline constexpr unsigned kGetText = 0x000D;           // WM_GETTEXT
inline constexpr unsigned kGetTextLength = 0x000E;     // WM_GETTEXTLENGTH
inline constexpr unsigned kEraseBkgnd = 0x0014;        // WM_ERASEBKGND
inline constexpr unsigned kWindowPosChanged = 0x0047;  // WM_WINDOWPOSCHANGED
inline constexpr unsigned kStyleChanging = 0x007C;     // WM_STYLECHANGING
inline constexpr unsigned kStyleChanged = 0x007D;      // WM_STYLECHANGED
inline constexpr unsigned kLButtonDown = 0x0201;       // WM_LBUTTONDOWN
inline constexpr unsigned kLButtonUp = 0x0202;         // WM_LBUTTONUP
inline constexpr unsigned kRButtonDown = 0x0204;       // WM_RBUTTONDOWN
inline constexpr unsigned kRButtonUp = 0x0205;         // WM_RBUTTONUP
inline constexpr unsigned kHotKey = 0x0312;            // WM_HOTKEY
}  // namespace msg

// Mouse buttons held, in a button message's wParam.
inline constexpr std::uintptr_t kMkLButton = 0x0001;  // MK_LBUTTON
inline constexpr std::uintptr_t kMkRButton = 0x0002;  // MK_RBUTTON

// Modifier flags as RegisterHotKey takes them.
inline constexpr unsigned kModAlt = 1;      // MOD_ALT
inline constexpr unsigned kModControl = 2;  // MOD_CONTROL
inline constexpr unsigned kModShift = 4;    // MOD_SHIFT
inline constexpr unsigned kModWin = 8;      // MOD_WIN
// Not a key: a combination held down posts once, not at the keyboard's
// repeat rate (Windows 7 on; Wine takes it and repeats all the same).
inline constexpr unsigned kModNoRepeat = 0x4000;  // MOD_NOREPEAT

// Arguments of SetWindowPos that show and hide a window in place. The
// window handle is a WindowHandle (platform/window_services.h).
inline constexpr std::int32_t kHwndNoTopMost = -2;  // HWND_NOTOPMOST
// The other values that stand for something else where a window handle goes,
// and name no window: a message to HWND_BROADCAST goes to every top-level
// window.
inline constexpr std::int32_t kHwndTop = 0;           // HWND_TOP
inline constexpr std::int32_t kHwndBottom = 1;        // HWND_BOTTOM
inline constexpr std::int32_t kHwndTopMost = -1;      // HWND_TOPMOST
inline constexpr std::int32_t kHwndMessage = -3;      // HWND_MESSAGE
inline constexpr std::int32_t kHwndBroadcast = 0xFFFF;  // HWND_BROADCAST
inline constexpr unsigned kSwpNoSize = 0x0001;      // SWP_NOSIZE
inline constexpr unsigned kSwpNoMove = 0x0002;      // SWP_NOMOVE
inline constexpr unsigned kSwpShowWindow = 0x0040;  // SWP_SHOWWINDOW
inline constexpr unsigned kSwpHideWindow = 0x0080;  // SWP_HIDEWINDOW
inline constexpr unsigned kSwpNoZOrder = 0x0004;       // SWP_NOZORDER
inline constexpr unsigned kSwpNoActivate = 0x0010;     // SWP_NOACTIVATE
// The frame is drawn again for the window's styles as they are now.
inline constexpr unsigned kSwpFrameChanged = 0x0020;   // SWP_FRAMECHANGED
// The request runs on the window's own thread, later.
inline constexpr unsigned kSwpAsyncWindowPos = 0x4000;  // SWP_ASYNCWINDOWPOS

// The two style values of a window, as GetWindowLongPtr and SetWindowLongPtr
// name them, and the bits of them the program reads.
inline constexpr int kGwlStyle = -16;                   // GWL_STYLE
inline constexpr int kGwlExStyle = -20;                 // GWL_EXSTYLE
inline constexpr std::uint32_t kWsChild = 0x40000000;   // WS_CHILD
inline constexpr std::uint32_t kWsExTopMost = 0x00000008;  // WS_EX_TOPMOST

}  // namespace vexlan
