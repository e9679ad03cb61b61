#include "platform/toolkit/win32/window_binding.h"

#include <exception>
#include <set>

#include "platform/toolkit/sysutils.h"
#include "platform/toolkit/win32/dialogs.h"

namespace vexlan {

namespace {

[[noreturn]] void ThrowCreationFailed(const std::wstring& window_class) {
  std::string name;
  for (wchar_t c : window_class) name += c < 0x80 ? static_cast<char>(c) : '?';
  throw Exception("Cannot create a window of class " + name + " (error " + IntToStr(::GetLastError()) + ")");
}

}  // namespace

WindowReceiver::~WindowReceiver() {
  // A derived destructor should have destroyed the window already; if not,
  // the window must not reach an object that is half gone.
  if (HWND hwnd = hwnd_) {
    Unbind();
    ::DestroyWindow(hwnd);
  }
}

WindowReceiver* WindowReceiver::FromWindow(HWND hwnd) {
  if (!hwnd) return nullptr;
  const auto proc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  if (proc != &ClassProc && proc != &SubclassProc) return nullptr;
  return reinterpret_cast<WindowReceiver*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT WindowReceiver::DefaultWindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (original_) return ::CallWindowProcW(original_, hwnd_, msg, wparam, lparam);
  return ::DefWindowProcW(hwnd_, msg, wparam, lparam);
}

namespace {

// The program's icon at the size the system draws it for `size_metric` at
// the system's DPI; the system's default icon for an executable that carries none.
HICON ProgramIcon(HINSTANCE instance, int size_metric) {
  if (UniqueIcon icon = LoadProgramIcon(instance, ::GetSystemMetrics(size_metric))) return icon.release();
  return ::LoadIconW(nullptr, IDI_APPLICATION);
}

}  // namespace

UniqueIcon LoadProgramIcon(HINSTANCE instance, int size) {
  return UniqueIcon(
      static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

void WindowReceiver::CreateBoundWindow(const std::wstring& window_class, UINT class_style, HBRUSH background,
                                       DWORD ex_style, DWORD style, const RECT& place, HWND parent, UINT_PTR id,
                                       const std::wstring& text) {
  static std::set<std::wstring> registered;
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!registered.count(window_class)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = class_style;
    wc.lpfnWndProc = &ClassProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    // Loaded once; every class of ours shows it for the life of the program.
    static const HICON icon = ProgramIcon(instance, SM_CXICON);
    static const HICON small_icon = ProgramIcon(instance, SM_CXSMICON);
    wc.hIcon = icon;
    wc.hIconSm = small_icon;
    wc.hbrBackground = background;
    wc.lpszClassName = window_class.c_str();
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) ThrowCreationFailed(window_class);
    registered.insert(window_class);
  }
  // For a child the id goes where a top-level window takes its menu.
  const HWND hwnd = ::CreateWindowExW(ex_style, window_class.c_str(), text.c_str(), style, place.left, place.top,
                                      place.right - place.left, place.bottom - place.top, parent,
                                      reinterpret_cast<HMENU>(id), instance, this);
  if (!hwnd) ThrowCreationFailed(window_class);
}

void WindowReceiver::CreateSubclassedWindow(const std::wstring& window_class, DWORD ex_style, DWORD style,
                                            const RECT& place, HWND parent, UINT_PTR id,
                                            const std::wstring& text) {
  const HWND hwnd = ::CreateWindowExW(ex_style, window_class.c_str(), text.c_str(), style, place.left, place.top,
                                      place.right - place.left, place.bottom - place.top, parent,
                                      reinterpret_cast<HMENU>(id), ::GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) ThrowCreationFailed(window_class);
  hwnd_ = hwnd;
  ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  original_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
}

void WindowReceiver::DestroyBoundWindow() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

void WindowReceiver::Unbind() {
  if (!hwnd_) return;
  if (original_) ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  original_ = nullptr;
  hwnd_ = nullptr;
}

LRESULT CALLBACK WindowReceiver::ClassProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) noexcept {
  WindowReceiver* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<WindowReceiver*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    // Some messages (WM_GETMINMAXINFO) come before WM_NCCREATE.
    self = reinterpret_cast<WindowReceiver*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(hwnd, msg, wparam, lparam);
  return Deliver(self, hwnd, msg, wparam, lparam);
}

LRESULT CALLBACK WindowReceiver::SubclassProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) noexcept {
  auto* self = reinterpret_cast<WindowReceiver*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(hwnd, msg, wparam, lparam);
  return Deliver(self, hwnd, msg, wparam, lparam);
}

LRESULT WindowReceiver::Deliver(WindowReceiver* self, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) noexcept {
  if (msg == WM_NCDESTROY) {
    const WNDPROC original = self->original_;
    self->Unbind();
    const LRESULT result = original ? ::CallWindowProcW(original, hwnd, msg, wparam, lparam)
                                    : ::DefWindowProcW(hwnd, msg, wparam, lparam);
    try {
      self->WindowDestroyed();
    } catch (...) {
      ShowException(std::current_exception());
    }
    return result;
  }
  try {
    return self->ReceiveMessage(msg, wparam, lparam);
  } catch (...) {
    // The handler did not finish; answering as if the message were handled
    // is safer than default processing (a failed close must not destroy).
    ShowException(std::current_exception());
    return 0;
  }
}

}  // namespace vexlan
