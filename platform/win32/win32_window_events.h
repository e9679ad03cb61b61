// Window events of other processes over out-of-context WinEvents.
//
// Three hooks on every process and thread (SetWinEventHook with
// WINEVENT_OUTOFCONTEXT): creation, destruction, shown, hidden and reorder
// (EVENT_OBJECT_CREATE to EVENT_OBJECT_REORDER), a new caption
// (EVENT_OBJECT_NAMECHANGE) and a new parent (EVENT_OBJECT_PARENTCHANGE).
// The system queues each event to the thread that set the hooks and calls
// back when that thread reads its messages. Only events about whole windows
// pass (OBJID_WINDOW, CHILDID_SELF); those of Vexlan's own windows are left
// out here, since Wine ignores WINEVENT_SKIPOWNPROCESS for a hook on every
// process (Windows honours it, and gets it too). Measured in Wine 8's
// source: it raises only EVENT_OBJECT_CREATE (and focus events) for windows,
// and drops events for a thread that has no message queue yet.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "platform/platform_services.h"

namespace vexlan {

class Win32WindowEvents : public WindowEventServices {
 public:
  Win32WindowEvents() = default;
  ~Win32WindowEvents() override;
  Win32WindowEvents(const Win32WindowEvents&) = delete;
  Win32WindowEvents& operator=(const Win32WindowEvents&) = delete;

  // The hooks are set with the first watcher, on its thread, and removed
  // with the last.
  int Watch(Sink sink) override;
  void Unwatch(int watch) override;

 private:
  static void CALLBACK Hook(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG object, LONG child, DWORD thread,
                            DWORD time);
  void Tell(const WindowEvent& event);
  void Unhook();

  std::map<int, Sink> sinks_;
  int next_watch_ = 1;
  std::vector<HWINEVENTHOOK> hooks_;
};

}  // namespace vexlan
