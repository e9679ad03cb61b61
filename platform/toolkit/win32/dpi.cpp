#include "platform/toolkit/win32/dpi.h"

#include <string>

#include "platform/toolkit/control_layout.h"

namespace vexlan {

namespace {

// A system DLL loaded from the system folder and nowhere else, so that a DLL
// of the same name beside the program (in a downloads folder, say) is never
// loaded in its place. Windows 7 without KB2533623 refuses the search flag
// (ERROR_INVALID_PARAMETER); the full path does the same there.
HMODULE LoadSystemLibrary(const wchar_t* name) {
  if (HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
  if (::GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  wchar_t folder[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L'\\' + name;
  return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// Looked up once: absent on the systems that have only the system's DPI. A
// module the program has loaded already (user32) is used as it is.
template <class Function>
Function SystemFunction(const wchar_t* module, const char* name) {
  HMODULE handle = ::GetModuleHandleW(module);
  if (!handle) handle = LoadSystemLibrary(module);
  return handle ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(handle, name))) : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

}  // namespace

int SystemDpi() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

int DpiAtPoint(POINT point) {
  static const auto get_dpi_for_monitor = SystemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
  if (get_dpi_for_monitor) {
    UINT x = 0, y = 0;
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    if (SUCCEEDED(get_dpi_for_monitor(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x, &y)) &&
        y > 0) {
      return static_cast<int>(y);
    }
  }
  return SystemDpi();
}

int DpiOfWindow(HWND hwnd) {
  static const auto get_dpi_for_window = SystemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
  if (get_dpi_for_window && hwnd) {
    if (const UINT dpi = get_dpi_for_window(hwnd)) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int SystemMetricForDpi(int metric, int dpi) {
  static const auto for_dpi = SystemFunction<GetSystemMetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi");
  if (for_dpi) return for_dpi(metric, static_cast<UINT>(dpi));
  // Without it the metrics are the system DPI's.
  return ScaleValue(::GetSystemMetrics(metric), dpi, SystemDpi());
}

RECT WindowRectForClient(const RECT& client, DWORD style, DWORD ex_style, int dpi) {
  static const auto adjust_for_dpi =
      SystemFunction<AdjustWindowRectExForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
  RECT r = client;
  if (adjust_for_dpi && adjust_for_dpi(&r, style, FALSE, ex_style, static_cast<UINT>(dpi))) return r;
  // Without it the frame has the system's size, whatever the DPI asked.
  ::AdjustWindowRectEx(&r, style, FALSE, ex_style);
  return r;
}

}  // namespace vexlan
