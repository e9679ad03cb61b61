#include "platform/win32/message_window.h"

#include <utility>

#include "platform/toolkit/sysutils.h"
#include "platform/toolkit/win32/window_binding.h"
#include "platform/win32/win32_window_services.h"

namespace vexlan {

class Win32MessageWindows::Window final : public WindowReceiver {
 public:
  explicit Window(MessageMethod method) : method_(std::move(method)) {}
  // Still bound here, the base class unbinds before it destroys the window.
  ~Window() override = default;

  // Throws Exception when the window cannot be made.
  void Create() { CreateSubclassedWindow(kMessageWindowClass, WS_EX_TOOLWINDOW, WS_POPUP, RECT{}, nullptr, 0, L""); }
  void Destroy() { DestroyBoundWindow(); }

 protected:
  LRESULT ReceiveMessage(UINT msg, WPARAM wparam, LPARAM lparam) override {
    WindowMessage message{msg, static_cast<std::intptr_t>(wparam), static_cast<std::intptr_t>(lparam), 0};
    method_(message);
    return static_cast<LRESULT>(message.Result);
  }

 private:
  MessageMethod method_;
};

namespace {

bool RegisterMessageWindowClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = kMessageWindowClass;
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

Win32MessageWindows::Win32MessageWindows() = default;
Win32MessageWindows::~Win32MessageWindows() = default;

WindowHandle Win32MessageWindows::CreateMessageWindow(MessageMethod method) {
  static const bool registered = RegisterMessageWindowClass();
  if (!registered) return 0;
  auto window = std::make_unique<Window>(std::move(method));
  try {
    window->Create();
  } catch (const Exception&) {
    return 0;
  }
  const WindowHandle wnd = FromHwnd(window->BoundWindow());
  windows_[wnd] = std::move(window);
  return wnd;
}

void Win32MessageWindows::DestroyMessageWindow(WindowHandle wnd) {
  const auto it = windows_.find(wnd);
  if (it == windows_.end()) return;
  // Out of the map first: the method may make or destroy other windows while
  // it handles WM_DESTROY.
  const std::unique_ptr<Window> window = std::move(it->second);
  windows_.erase(it);
  window->Destroy();
}

std::intptr_t Win32MessageWindows::DefaultProcessing(WindowHandle wnd, const WindowMessage& message) {
  return static_cast<std::intptr_t>(::DefWindowProcW(ToHwnd(wnd), message.Msg, static_cast<WPARAM>(message.WParam),
                                                     static_cast<LPARAM>(message.LParam)));
}

}  // namespace vexlan
