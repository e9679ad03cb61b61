#include "platform/win32/win32_window_services.h"

#include <vector>

namespace vexlan {

WindowHandle Win32WindowServices::TopWindow() { return FromHwnd(::GetTopWindow(nullptr)); }

WindowHandle Win32WindowServices::NextSibling(WindowHandle wnd) {
  return FromHwnd(::GetWindow(ToHwnd(wnd), GW_HWNDNEXT));
}

WindowHandle Win32WindowServices::FirstChild(WindowHandle wnd) { return FromHwnd(::GetWindow(ToHwnd(wnd), GW_CHILD)); }

namespace {
// Captions and class names are read for every window of every rebuild: the
// usual small buffer lives on the stack.
template <typename Call>
std::u16string FixedBuffer(int max_count, Call call) {
  if (max_count <= 0) return {};
  constexpr int kStackUnits = 256;
  wchar_t stack_buffer[kStackUnits];
  std::vector<wchar_t> heap_buffer;
  wchar_t* buffer = stack_buffer;
  if (max_count > kStackUnits) {
    heap_buffer.resize(static_cast<std::size_t>(max_count));
    buffer = heap_buffer.data();
  }
  buffer[0] = L'\0';
  const int n = call(buffer, max_count);
  if (n <= 0) return {};
  // Trust the zero the system wrote rather than the count alone.
  const int limit = n < max_count ? n : max_count - 1;
  int len = 0;
  while (len < limit && buffer[len] != L'\0') ++len;
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), static_cast<std::size_t>(len));
}
}  // namespace

std::u16string Win32WindowServices::WindowText(WindowHandle wnd, int max_count) {
  return FixedBuffer(max_count, [&](wchar_t* b, int n) { return ::GetWindowTextW(ToHwnd(wnd), b, n); });
}

std::u16string Win32WindowServices::ClassName(WindowHandle wnd, int max_count) {
  return FixedBuffer(max_count, [&](wchar_t* b, int n) { return ::GetClassNameW(ToHwnd(wnd), b, n); });
}

bool Win32WindowServices::IsVisible(WindowHandle wnd) { return ::IsWindowVisible(ToHwnd(wnd)) != FALSE; }

std::uint32_t Win32WindowServices::ClassAtom(WindowHandle wnd) {
  return static_cast<std::uint32_t>(::GetClassLongPtrW(ToHwnd(wnd), GCW_ATOM) & 0xFFFF);
}

std::uint32_t Win32WindowServices::ThreadOf(WindowHandle wnd) {
  return ::GetWindowThreadProcessId(ToHwnd(wnd), nullptr);
}

WindowHandle Win32WindowServices::ParentOf(WindowHandle wnd) {
  // A top-level window's parent is the desktop window, which the tree does not list.
  const HWND parent = ::GetAncestor(ToHwnd(wnd), GA_PARENT);
  return parent == ::GetDesktopWindow() ? 0 : FromHwnd(parent);
}

WindowHandle Win32WindowServices::PreviousSibling(WindowHandle wnd) {
  return FromHwnd(::GetWindow(ToHwnd(wnd), GW_HWNDPREV));
}

bool Win32WindowServices::Exists(WindowHandle wnd) { return ::IsWindow(ToHwnd(wnd)) != FALSE; }

bool Win32WindowServices::OnCallerThread(WindowHandle wnd) {
  return ::GetWindowThreadProcessId(ToHwnd(wnd), nullptr) == ::GetCurrentThreadId();
}

bool Win32WindowServices::InCallerProcess(WindowHandle wnd) {
  DWORD process = 0;
  return ::GetWindowThreadProcessId(ToHwnd(wnd), &process) != 0 && process == ::GetCurrentProcessId();
}

namespace {

// Owns a kernel handle.
struct KernelHandle {
  HANDLE h = nullptr;
  KernelHandle(HANDLE handle) : h(handle) {}
  ~KernelHandle() {
    if (h) ::CloseHandle(h);
  }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
};

ProcessRights TokenRights(HANDLE process) {
  ProcessRights rights;
  HANDLE raw = nullptr;
  if (!process || !::OpenProcessToken(process, TOKEN_QUERY, &raw)) return rights;
  const KernelHandle token(raw);
  // A label holds one SID, of a small fixed size.
  alignas(TOKEN_MANDATORY_LABEL) unsigned char label[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  if (::GetTokenInformation(token.h, TokenIntegrityLevel, label, sizeof label, &size)) {
    const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(label)->Label.Sid;
    if (::IsValidSid(sid) && *::GetSidSubAuthorityCount(sid) > 0) {
      rights.integrity = *::GetSidSubAuthority(sid, *::GetSidSubAuthorityCount(sid) - 1u);
    }
  }
  TOKEN_ELEVATION elevation{};
  if (::GetTokenInformation(token.h, TokenElevation, &elevation, sizeof elevation, &size)) {
    rights.elevated = elevation.TokenIsElevated != 0;
  }
  return rights;
}

}  // namespace

ProcessRights Win32WindowServices::RightsOf(WindowHandle wnd) {
  DWORD process_id = 0;
  if (!::GetWindowThreadProcessId(ToHwnd(wnd), &process_id)) return {};
  const KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  return TokenRights(process.h);
}

ProcessRights Win32WindowServices::OwnRights() { return TokenRights(::GetCurrentProcess()); }

SendError LastSendError(bool send_with_timeout) {
  switch (::GetLastError()) {
    case ERROR_TIMEOUT:
      return SendError::kTimedOut;
    case ERROR_ACCESS_DENIED:
      return SendError::kAccessDenied;
    case ERROR_INVALID_WINDOW_HANDLE:
      return SendError::kNoWindow;
    default:
      return send_with_timeout ? SendError::kTimedOut : SendError::kOther;
  }
}

SendResult Win32WindowServices::SendWithTimeout(WindowHandle wnd, unsigned message, std::uintptr_t wparam,
                                                std::intptr_t lparam, unsigned timeout_ms) {
  DWORD_PTR result = 0;
  ::SetLastError(0);
  if (!::SendMessageTimeoutW(ToHwnd(wnd), message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam),
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, timeout_ms, &result)) {
    return SendResult::Failed(LastSendError(true));
  }
  return SendResult::Answered(static_cast<std::intptr_t>(result));
}

WindowServices& SystemWindowServices() {
  static Win32WindowServices services;
  return services;
}

}  // namespace vexlan
