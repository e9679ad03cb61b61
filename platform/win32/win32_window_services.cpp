#include "platform/win32/win32_window_services.h"

#include <vector>

namespace vexlan {

WindowHandle Win32WindowServices::TopWindow() { return FromHwnd(::GetTopWindow(nullptr)); }

WindowHandle Win32WindowServices::NextSibling(WindowHandle wnd) {
  return FromHwnd(::GetWindow(ToHwnd(wnd), GW_HWNDNEXT));
}

WindowHandle Win32WindowServices::FirstChild(WindowHandle wnd) { return FromHwnd(::GetWindow(ToHwnd(wnd), GW_CHILD)); }

namespace {
template <typename Call>
std::u16string FixedBuffer(int max_count, Call call) {
  if (max_count <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(max_count), L'\0');
  const int n = call(buffer.data(), max_count);
  if (n <= 0) return {};
  // Trust the zero the system wrote rather than the count alone.
  std::size_t len = 0;
  while (len < static_cast<std::size_t>(n) && len + 1 < buffer.size() && buffer[len] != L'\0') ++len;
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), len);
}
}  // namespace

std::u16string Win32WindowServices::WindowText(WindowHandle wnd, int max_count) {
  return FixedBuffer(max_count, [&](wchar_t* b, int n) { return ::GetWindowTextW(ToHwnd(wnd), b, n); });
}

std::u16string Win32WindowServices::ClassName(WindowHandle wnd, int max_count) {
  return FixedBuffer(max_count, [&](wchar_t* b, int n) { return ::GetClassNameW(ToHwnd(wnd), b, n); });
}

bool Win32WindowServices::IsVisible(WindowHandle wnd) { return ::IsWindowVisible(ToHwnd(wnd)) != FALSE; }

std::optional<std::intptr_t> Win32WindowServices::SendMessageTimeout(WindowHandle wnd, unsigned message,
                                                                      std::uintptr_t wparam, std::intptr_t lparam,
                                                                      unsigned timeout_ms) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(ToHwnd(wnd), message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam),
                             SMTO_ABORTIFHUNG | SMTO_NORMAL, timeout_ms, &result)) {
    return std::nullopt;
  }
  return static_cast<std::intptr_t>(result);
}

WindowServices& SystemWindowServices() {
  static Win32WindowServices services;
  return services;
}

}  // namespace vexlan
