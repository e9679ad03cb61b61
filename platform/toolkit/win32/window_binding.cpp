#include "platform/toolkit/win32/window_binding.h"

#include <commctrl.h>

#include <exception>
#include <set>

#include "platform/toolkit/sysutils.h"
#include "platform/toolkit/win32/dialogs.h"

namespace vexlan {

namespace {

// Our one subclass of a control, told apart from others' by its procedure
// and this id.
constexpr UINT_PTR kSubclassId = 1;
// The window property that names a subclassed control's object, for
// FromWindow (comctl32 exports no GetWindowSubclass by name to link with).
constexpr wchar_t kReceiverProperty[] = L"VexlanWindowReceiver";

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
  // What is read below means something only in the process that set it:
  // another program's window is never ours.
  DWORD process = 0;
  if (!::GetWindowThreadProcessId(hwnd, &process) || process != ::GetCurrentProcessId()) return nullptr;
  // The class's procedure, not the window's: whoever subclasses one of our
  // windows leaves its class as it is.
  if (::GetClassLongPtrW(hwnd, GCLP_WNDPROC) == reinterpret_cast<ULONG_PTR>(&ClassProc)) {
    return reinterpret_cast<WindowReceiver*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  return static_cast<WindowReceiver*>(::GetPropW(hwnd, kReceiverProperty));
}

LRESULT WindowReceiver::DefaultWindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (subclassed_) return ::DefSubclassProc(hwnd_, msg, wparam, lparam);
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
  if (!::SetPropW(hwnd, kReceiverProperty, this) ||
      !::SetWindowSubclass(hwnd, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    ::DestroyWindow(hwnd);
    ThrowCreationFailed(window_class);
  }
  hwnd_ = hwnd;
  subclassed_ = true;
}

void WindowReceiver::DestroyBoundWindow() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

void WindowReceiver::Unbind() {
  if (!hwnd_) return;
  if (subclassed_) {
    ::RemoveWindowSubclass(hwnd_, &SubclassProc, kSubclassId);
    ::RemovePropW(hwnd_, kReceiverProperty);
  } else {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  }
  subclassed_ = false;
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

LRESULT CALLBACK WindowReceiver::SubclassProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                              DWORD_PTR self) noexcept {
  return Deliver(reinterpret_cast<WindowReceiver*>(self), hwnd, msg, wparam, lparam);
}

LRESULT WindowReceiver::Deliver(WindowReceiver* self, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) noexcept {
  if (msg == WM_NCDESTROY) {
    // A subclass is removed here and the message still goes down the chain,
    // as comctl32 asks.
    const bool subclassed = self->subclassed_;
    self->Unbind();
    const LRESULT result = subclassed ? ::DefSubclassProc(hwnd, msg, wparam, lparam)
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
