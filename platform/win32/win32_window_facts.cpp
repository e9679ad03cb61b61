#include "platform/win32/win32_window_facts.h"

#include <windows.h>

#include <vector>

#include "platform/toolkit/win32/dpi.h"
#include "platform/win32/win32_window_services.h"

namespace vexlan {

namespace {

// The most a caption or a path may have: a window's text and a long path
// both stop there.
constexpr int kTextUnits = 32768;
// A class name has at most 256 characters. (Wine's GetClassNameW gives
// nothing at all for a buffer of 32768 units.)
constexpr int kClassUnits = 257;

std::u16string Text(const std::vector<wchar_t>& buffer, int length) {
  if (length <= 0) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), static_cast<std::size_t>(length));
}

// Found at run time: Windows 10, 1607 and later. A context is a handle;
// the awareness values are DPI_AWARENESS's.
using WindowContextFn = HANDLE(WINAPI*)(HWND);
using AwarenessFn = int(WINAPI*)(HANDLE);
using ContextsEqualFn = BOOL(WINAPI*)(HANDLE, HANDLE);

template <class Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

DpiAwareness AwarenessOf(HWND hwnd) {
  static const auto window_context = User32Function<WindowContextFn>("GetWindowDpiAwarenessContext");
  static const auto awareness = User32Function<AwarenessFn>("GetAwarenessFromDpiAwarenessContext");
  static const auto equal = User32Function<ContextsEqualFn>("AreDpiAwarenessContextsEqual");
  if (!window_context || !awareness || !equal) return DpiAwareness::Unknown;
  const HANDLE context = window_context(hwnd);
  if (!context) return DpiAwareness::Unknown;
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2: per-monitor, told apart only by comparing contexts.
  const auto v2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
  if (equal(context, v2)) return DpiAwareness::PerMonitorV2;
  switch (awareness(context)) {
    case 0:
      return DpiAwareness::Unaware;
    case 1:
      return DpiAwareness::System;
    case 2:
      return DpiAwareness::PerMonitor;
    default:
      return DpiAwareness::Unknown;
  }
}

WindowRect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRectStruct(const WindowRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

}  // namespace

bool Win32WindowFacts::Exists(WindowHandle wnd) { return ::IsWindow(ToHwnd(wnd)) != FALSE; }

std::optional<WindowRecord> Win32WindowFacts::Record(WindowHandle wnd) {
  const HWND hwnd = ToHwnd(wnd);
  if (!::IsWindow(hwnd)) return std::nullopt;
  WindowRecord f;
  std::vector<wchar_t> text(kTextUnits);
  f.class_name = Text(text, ::GetClassNameW(hwnd, text.data(), kClassUnits));
  f.caption = Text(text, ::InternalGetWindowText(hwnd, text.data(), kTextUnits));
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  f.rect = ToRect(r);
  f.placement = f.rect;
  r = {};
  ::GetClientRect(hwnd, &r);
  f.client = ToRect(r);
  f.style = static_cast<std::uint32_t>(::GetWindowLongPtrW(hwnd, GWL_STYLE));
  f.ex_style = static_cast<std::uint32_t>(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
  f.class_style = static_cast<std::uint32_t>(::GetClassLongPtrW(hwnd, GCL_STYLE));
  if (f.style & WS_CHILD) {
    f.id = ::GetWindowLongPtrW(hwnd, GWLP_ID);
    f.parent = FromHwnd(::GetAncestor(hwnd, GA_PARENT));
    // Two points: a mirrored parent's right-to-left coordinates come out as
    // a rectangle still.
    RECT placed = ToRectStruct(f.rect);
    ::MapWindowPoints(nullptr, ToHwnd(f.parent), reinterpret_cast<POINT*>(&placed), 2);
    f.placement = ToRect(placed);
  }
  f.owner = FromHwnd(::GetWindow(hwnd, GW_OWNER));
  DWORD process_id = 0;
  f.thread_id = ::GetWindowThreadProcessId(hwnd, &process_id);
  f.process_id = process_id;
  f.visible = ::IsWindowVisible(hwnd) != FALSE;
  f.enabled = ::IsWindowEnabled(hwnd) != FALSE;
  f.minimized = ::IsIconic(hwnd) != FALSE;
  f.maximized = ::IsZoomed(hwnd) != FALSE;
  f.unicode = ::IsWindowUnicode(hwnd) != FALSE;
  f.hung = ::IsHungAppWindow(hwnd) != FALSE;
  f.dpi = DpiOfWindow(hwnd);
  f.awareness = AwarenessOf(hwnd);
  return f;
}

std::optional<std::u16string> Win32WindowFacts::ProcessImage(std::uint32_t process_id) {
  const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
  if (!process) return std::nullopt;
  std::vector<wchar_t> buffer(kTextUnits);
  DWORD length = kTextUnits;
  const BOOL ok = ::QueryFullProcessImageNameW(process, 0, buffer.data(), &length);
  ::CloseHandle(process);
  if (!ok) return std::nullopt;
  return Text(buffer, static_cast<int>(length));
}

}  // namespace vexlan
