#include "platform/win32/win32_window_events.h"

#include <optional>

#include "platform/win32/win32_window_services.h"

namespace vexlan {

namespace {

// The one set of hooks calls back into the instance that set them.
Win32WindowEvents* g_hooked = nullptr;

std::optional<WindowEventKind> KindOf(DWORD event) {
  switch (event) {
    case EVENT_OBJECT_CREATE:
      return WindowEventKind::kCreated;
    case EVENT_OBJECT_DESTROY:
      return WindowEventKind::kDestroyed;
    case EVENT_OBJECT_SHOW:
      return WindowEventKind::kShown;
    case EVENT_OBJECT_HIDE:
      return WindowEventKind::kHidden;
    case EVENT_OBJECT_REORDER:
      return WindowEventKind::kReordered;
    case EVENT_OBJECT_NAMECHANGE:
      return WindowEventKind::kRenamed;
    case EVENT_OBJECT_PARENTCHANGE:
      return WindowEventKind::kReparented;
    default:
      return std::nullopt;
  }
}

}  // namespace

Win32WindowEvents::~Win32WindowEvents() { Unhook(); }

int Win32WindowEvents::Watch(Sink sink) {
  if (hooks_.empty()) {
    if (g_hooked && g_hooked != this) return 0;
    constexpr DWORD kFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    const std::pair<DWORD, DWORD> ranges[] = {{EVENT_OBJECT_CREATE, EVENT_OBJECT_REORDER},
                                              {EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE},
                                              {EVENT_OBJECT_PARENTCHANGE, EVENT_OBJECT_PARENTCHANGE}};
    for (const auto& [first, last] : ranges) {
      if (const HWINEVENTHOOK hook = ::SetWinEventHook(first, last, nullptr, &Hook, 0, 0, kFlags)) {
        hooks_.push_back(hook);
      }
    }
    if (hooks_.empty()) return 0;
    g_hooked = this;
  }
  sinks_.emplace(next_watch_, std::move(sink));
  return next_watch_++;
}

void Win32WindowEvents::Unwatch(int watch) {
  sinks_.erase(watch);
  if (sinks_.empty()) Unhook();
}

void Win32WindowEvents::Unhook() {
  for (const HWINEVENTHOOK hook : hooks_) ::UnhookWinEvent(hook);
  hooks_.clear();
  if (g_hooked == this) g_hooked = nullptr;
}

void CALLBACK Win32WindowEvents::Hook(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                                      DWORD) {
  if (!g_hooked || !hwnd || object != OBJID_WINDOW || child != CHILDID_SELF) return;
  const std::optional<WindowEventKind> kind = KindOf(event);
  if (!kind) return;
  // The desktop's children change order: the top-level run.
  if (*kind == WindowEventKind::kReordered && hwnd == ::GetDesktopWindow()) {
    g_hooked->Tell({*kind, 0});
    return;
  }
  DWORD process = 0;
  if (::GetWindowThreadProcessId(hwnd, &process) && process == ::GetCurrentProcessId()) return;
  g_hooked->Tell({*kind, FromHwnd(hwnd)});
}

void Win32WindowEvents::Tell(const WindowEvent& event) {
  // A watcher may stop watching while it is told.
  for (auto it = sinks_.begin(); it != sinks_.end();) {
    const auto next = std::next(it);
    it->second(event);
    it = next;
  }
}

}  // namespace vexlan
