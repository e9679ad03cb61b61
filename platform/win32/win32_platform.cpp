#include "platform/win32/win32_platform.h"

#include "platform/win32/message_window.h"
#include "platform/win32/win32_window_events.h"
#include "platform/win32/win32_window_changes.h"
#include "platform/win32/win32_window_facts.h"
#include "platform/win32/win32_window_services.h"

namespace vexlan {

namespace {

class Win32HotKeys : public HotKeyServices {
 public:
  bool RegisterHotKey(WindowHandle wnd, int id, unsigned modifiers, unsigned virtual_key) override {
    return ::RegisterHotKey(ToHwnd(wnd), id, modifiers, virtual_key) != FALSE;
  }
  bool UnregisterHotKey(WindowHandle wnd, int id) override { return ::UnregisterHotKey(ToHwnd(wnd), id) != FALSE; }
};

class Win32Cursor : public CursorServices {
 public:
  std::optional<ScreenPoint> CursorPos() override {
    POINT p{};
    if (!::GetCursorPos(&p)) return std::nullopt;
    return ScreenPoint{p.x, p.y};
  }
  WindowHandle WindowFromPoint(ScreenPoint point) override {
    return FromHwnd(::WindowFromPoint(POINT{point.X, point.Y}));
  }
};

// Went through, or why not.
SendResult Called(BOOL ok) { return ok ? SendResult::Answered(0) : SendResult::Failed(LastSendError(false)); }

class Win32ShowHide : public ShowHideServices {
 public:
  SendResult SetWindowPos(WindowHandle wnd, WindowHandle insert_after, unsigned flags) override {
    return Called(::SetWindowPos(ToHwnd(wnd), ToHwnd(insert_after), 0, 0, 0, 0, flags));
  }
};

class Win32Posting : public MessagePosting {
 public:
  SendResult Post(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) override {
    return Called(::PostMessageW(ToHwnd(wnd), message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam)));
  }
  SendResult SendNotify(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) override {
    return Called(::SendNotifyMessageW(ToHwnd(wnd), message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam)));
  }
};

}  // namespace

const PlatformContext& SystemPlatform() {
  struct Services {
    Win32MessageWindows message_windows;
    Win32HotKeys hot_keys;
    Win32Cursor cursor;
    Win32ShowHide show_hide;
    Win32Posting posting;
    Win32WindowEvents window_events;
    Win32WindowFacts window_facts;
    Win32WindowChanges changes;
    PlatformContext context = PlatformContext{}
                                  .With(SystemWindowServices())
                                  .With(message_windows)
                                  .With(hot_keys)
                                  .With(cursor)
                                  .With(show_hide)
                                  .With(posting)
                                  .With(window_events)
                                  .With(window_facts)
                                  .With(changes);
  };
  // Never destroyed, on purpose: a component that the application object
  // still owns when static destruction begins uses them as it goes.
  static const Services* const services = new Services;
  return services->context;
}

}  // namespace vexlan
