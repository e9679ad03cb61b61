#include "platform/toolkit/win32/window_binding.h"


#include <exception>
#include <mutex>
#include <set>
#include <unordered_map>

#include "platform/toolkit/sysutils.h"
#include "platform/toolkit/win32/dialogs.h"

namespace vexlan {

namespace {

// Every window this process binds: its object (nullptr once unbound while
// our subclass has to stay in a chain another module put above it) and, for
// a subclassed control, the procedure our subclass replaced. Windows get
// their messages on the thread that made them, which may be any thread.
struct Binding {
  WindowReceiver* receiver = nullptr;
  WNDPROC replaced = nullptr;
};

std::mutex g_bindings_lock;
std::unordered_map<HWND, Binding> g_bindings;

Binding Lookup(HWND hwnd) {
  const std::lock_guard<std::mutex> hold(g_bindings_lock);
  const auto it = g_bindings.find(hwnd);
  return it == g_bindings.end() ? Binding{} : it->second;
}

void Store(HWND hwnd, Binding binding) {
  const std::lock_guard<std::mutex> hold(g_bindings_lock);
  g_bindings[hwnd] = binding;
}

void Forget(HWND hwnd) {
  const std::lock_guard<std::mutex> hold(g_bindings_lock);
  g_bindings.erase(hwnd);
}

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

WindowReceiver* WindowReceiver::FromWindow(HWND hwnd) { return hwnd ? Lookup(hwnd).receiver : nullptr; }

LRESULT WindowReceiver::DefaultWindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (replaced_) return ::CallWindowProcW(replaced_, hwnd_, msg, wparam, lparam);
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
  // In the table before the first message can reach our procedure.
  Store(hwnd, Binding{this, nullptr});
  const auto replaced = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  if (!replaced) {
    Forget(hwnd);
    ::DestroyWindow(hwnd);
    ThrowCreationFailed(window_class);
  }
  Store(hwnd, Binding{this, replaced});
  hwnd_ = hwnd;
  replaced_ = replaced;
}

void WindowReceiver::DestroyBoundWindow() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

void WindowReceiver::Unbind() {
  if (!hwnd_) return;
  if (!replaced_) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    Forget(hwnd_);
  } else if (::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProc)) {
    // On top of the chain: out of it.
    ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replaced_));
    Forget(hwnd_);
  } else {
    // Another module's subclass calls ours: ours stays in the chain and
    // hands every message on, down to the window's last.
    Store(hwnd_, Binding{nullptr, replaced_});
  }
  replaced_ = nullptr;
  hwnd_ = nullptr;
}

LRESULT CALLBACK WindowReceiver::ClassProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) noexcept {
  WindowReceiver* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<WindowReceiver*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    Store(hwnd, Binding{self, nullptr});
  } else {
    // Some messages (WM_GETMINMAXINFO) come before WM_NCCREATE.
    self = reinterpret_cast<WindowReceiver*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(hwnd, msg, wparam, lparam);
  return Deliver(self, hwnd, msg, wparam, lparam);
}

LRESULT CALLBACK WindowReceiver::SubclassProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) noexcept {
  const Binding binding = Lookup(hwnd);
  if (binding.receiver) return Deliver(binding.receiver, hwnd, msg, wparam, lparam);
  // Unbound, but called by a subclass above ours: handed on.
  if (!binding.replaced) return ::DefWindowProcW(hwnd, msg, wparam, lparam);
  const LRESULT result = ::CallWindowProcW(binding.replaced, hwnd, msg, wparam, lparam);
  if (msg == WM_NCDESTROY) Forget(hwnd);
  return result;
}

LRESULT WindowReceiver::Deliver(WindowReceiver* self, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) noexcept {
  if (msg == WM_NCDESTROY) {
    // The window's last message still goes down the chain; after it the
    // handle may name another window.
    const WNDPROC replaced = self->replaced_;
    self->Unbind();
    const LRESULT result = replaced ? ::CallWindowProcW(replaced, hwnd, msg, wparam, lparam)
                                    : ::DefWindowProcW(hwnd, msg, wparam, lparam);
    Forget(hwnd);
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
