// Keeps the keyboard with Vexlan after it acts on another program's window.
//
// A click posted to a button or an edit makes it take the focus on its own
// thread. Windows keeps the keyboard with the foreground program, so
// nothing moves there. Wine lets that thread take the foreground, and with
// it the user's keys, while Vexlan still looks active: Space and Enter then
// press the other program's buttons. So while FocusWatch says so, the
// foreground is looked at every kLookMs (Wine 8 raises no focus event to
// another process, measured), and when the target's program has taken it
// from Vexlan, the Vexlan window that had it takes it back at once. (Wine
// on a desktop without a window manager gives the foreground to the
// desktop window instead, the keys going to the target all the same: then
// the target's thread holding an active window tells it was the action.) The
// target is neither raised nor activated by this; its thread keeps its own
// focus. A look is one GetForegroundWindow: the watch costs nothing worth
// measuring.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/window_services.h"
#include "platform/toolkit/win32/timer.h"
#include "winutil/action_outcome.h"
#include "winutil/focus_watch.h"

namespace vexlan {

class TKeyboardKeeper {
 public:
  TKeyboardKeeper();
  ~TKeyboardKeeper();
  TKeyboardKeeper(const TKeyboardKeeper&) = delete;
  TKeyboardKeeper& operator=(const TKeyboardKeeper&) = delete;

  static constexpr unsigned kLookMs = 20;

  // Runs `action` on `target` and returns its outcome. When the action
  // reached the window (kDone, or kNotAnswered: it gets it later) and
  // Vexlan had the foreground before it, the watch starts with a look at
  // once: the target may have taken the foreground while Vexlan waited on
  // it.
  Outcome Act(WindowHandle target, const std::function<Outcome()>& action);
  bool Watching() const { return look_timer_.Enabled(); }

 private:
  ForegroundOwner OwnerOf(HWND wnd) const;
  void Look();
  void Stop();

  FocusWatch watch_;
  TTimer look_timer_{nullptr};
  DWORD target_process_ = 0;
  DWORD target_thread_ = 0;
  HWND ours_ = nullptr;  // the window of ours that had the foreground
};

}  // namespace vexlan
