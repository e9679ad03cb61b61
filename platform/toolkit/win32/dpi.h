// Dots per inch: the layouts are drawn at 96, each window shows them at the
// DPI of the monitor it stands on. The per-monitor calls exist from Windows
// 8.1 and 10 on; before them everything has the system's DPI.
#pragma once

#include <windows.h>

namespace vexlan {

inline constexpr int kDesignDpi = 96;

// The system's DPI (what every monitor has without per-monitor DPI).
int SystemDpi();
// The DPI of the monitor that holds `point` (screen coordinates).
int DpiAtPoint(POINT point);
// The DPI a window is shown at.
int DpiOfWindow(HWND hwnd);
// A system metric (an icon's size, say) as it is at `dpi`.
int SystemMetricForDpi(int metric, int dpi);
// The outer rectangle of a window with this client rectangle, its frame
// measured at `dpi`.
RECT WindowRectForClient(const RECT& client, DWORD style, DWORD ex_style, int dpi);

}  // namespace vexlan
