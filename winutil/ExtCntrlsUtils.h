// Routines that read and act on a window of any process by its handle: every
// message and call Vexlan makes to another program's window goes through
// here, under one waiting policy.
//
// 1. Bounded. A routine has one deadline, kSendTimeoutMs, however many
//    messages it sends: the second gets what the first left and is not sent
//    when nothing is left. A long text earns more time (TextSendTimeoutMs),
//    never beyond kRoutineCeilingMs, whatever length the window claims.
// 2. Exactly once. A message whose wait ran out is never sent or posted
//    again: the system withdraws it only if the target's thread never took
//    it; one the thread took runs to completion after we stop waiting.
//    A click is posted, press then release, and a message sent after them
//    asks whether the window's thread answers in time. Posted messages are
//    never withdrawn and arrive in order, so whatever the target does the
//    click arrives whole, when its thread next reads its queue, or not at
//    all, never as a lone release. (A press sent with a time-out may be
//    withdrawn while its release is not; a press sent with a callback that
//    issues the release would leave a scroll bar, which tracks the mouse
//    inside its press handler until the button goes up, tracking forever.)
// 3. Never synchronous on another thread's window for show and hide:
//    SetWindowPos always carries SWP_ASYNCWINDOWPOS, which the system hands
//    to the window's thread. Vexlan's own windows are never shown or hidden
//    from here.
// 4. Never re-entered. While a routine waits, none of our handlers runs
//    (WindowServices::SendWithTimeout: SMTO_BLOCK | SMTO_ABORTIFHUNG); a
//    target that calls back into us waits at most until our time-out. A
//    message sent to a window of our own thread would run its procedure
//    inside the handler that chose the action, time-out or not: clicks on
//    our own windows are posted and run once that handler has returned.
// 5. Honest. Each routine says what became of it (Outcome,
//    winutil/action_outcome.h): done, not answered in time, refused by the
//    system (and whether the window's program runs with higher rights than
//    ours), the window gone, the change not taken. A time-out is told, not
//    shown as an empty text. Under Wine a send also fails as refused when
//    the receiving thread exits: a refusal is looked at again, and a window
//    that has gone is told as gone.
// 6. Only real windows. Nothing is sent or posted to a handle that names no
//    window: the values that stand for something else where a handle goes
//    (HWND_BROADCAST, which reaches every top-level window, HWND_TOPMOST...)
//    are refused before the system is asked.
// 7. Changes never wait on another thread either (WindowChanger).
//    Position, size, Z order and the frame drawn again after a style change
//    go by SetWindowPos with SWP_ASYNCWINDOWPOS. What the system makes
//    synchronous with the window's thread (EnableWindow sends WM_ENABLE,
//    SetWindowLongPtr WM_STYLECHANGING and WM_STYLECHANGED, and
//    SetForegroundWindow) runs on a worker thread (ChangeWorkers), and the
//    user interface waits for it at most kSendTimeoutMs: past that the
//    change is not answered, and takes effect when the window answers.
//    Changes to one window run one after the other, in the order they were
//    asked for; at most kMaxWaitingChanges wait at once, and beyond that
//    nothing more is started. Vexlan's own windows are never changed.
//
// Texts are UTF-8; limits count UTF-16 units, as the platform does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/platform_services.h"
#include "platform/window_services.h"
#include "winutil/action_outcome.h"

namespace vexlan {

// Longest caption or class name the readers return (a buffer of 201 units).
inline constexpr int kCaptionLimit = 200;
// Most UTF-16 units GetControlText will make room for, whatever length the
// window reports: 16 Mi units (32 MiB), far beyond any real control's text.
inline constexpr std::size_t kControlTextLimit = std::size_t{1} << 24;
// The longest any routine here holds the user interface, whatever the window
// claims.
inline constexpr unsigned kRoutineCeilingMs = 5000;

// How long a text message may take: kSendTimeoutMs, and more for a long
// text, which a healthy program needs time to take in or give (Wine's
// word-wrapping edit control takes 2 to 5 s to take a million characters,
// depending on the fonts it falls back on and on the machine's load), up to
// kRoutineCeilingMs.
inline constexpr std::size_t kTextUnitsPerExtraMs = 100;
unsigned TextSendTimeoutMs(std::size_t units);

// True when `wnd` names a window: not 0, not one of the values that stand
// for something else where a handle goes, and known to the system.
bool IsWindowHandle(WindowServices& ws, WindowHandle wnd);

struct ControlText {
  std::string text;  // empty unless done
  Outcome outcome = Outcome::kNoWindow;
};

// The window's whole text, asked of the window itself (WM_GETTEXTLENGTH, then
// WM_GETTEXT into a buffer one unit longer). Sees an edit control's content.
// Both messages together take at most TextSendTimeoutMs of the length the
// window reported.
ControlText ReadControlText(WindowServices& ws, WindowHandle wnd, Clock& clock = SteadyClock());
// The text alone: empty unless it was read.
std::string GetControlText(WindowServices& ws, WindowHandle wnd, Clock& clock = SteadyClock());
// Replaces the window's text (WM_SETTEXT), within TextSendTimeoutMs of its
// length. kNotTaken when the window answers FALSE.
Outcome SetControlText(WindowServices& ws, WindowHandle wnd, std::string_view text);
// The next sibling below `wnd` in Z order, or 0.
WindowHandle GetNextSibling(WindowServices& ws, WindowHandle wnd);
// The child at the top of `wnd`'s Z order, or 0.
WindowHandle GetFirstChild(WindowServices& ws, WindowHandle wnd);
// The caption the system keeps, at most kCaptionLimit units.
std::string GetWindowCaption(WindowServices& ws, WindowHandle wnd);
// The class name, at most kCaptionLimit units.
std::string GetWindowClass(WindowServices& ws, WindowHandle wnd);
// A left click at client point (0, 0): the press, then the release, with
// wParam MK_LBUTTON and lParam 0, to the target alone (the cursor does not
// move), both posted; then, for another thread's window, WM_NULL sent to
// learn within kSendTimeoutMs whether its thread answers. kNotAnswered: the
// click waits in its queue and reaches it when it answers.
Outcome SendLeftClick(WindowServices& ws, MessagePosting& posting, WindowHandle wnd);
// The same with the right button: WM_RBUTTONDOWN and WM_RBUTTONUP, wParam
// MK_RBUTTON.
Outcome SendRightClick(WindowServices& ws, MessagePosting& posting, WindowHandle wnd);

// Shows or hides `wnd` where it is, at its size, and takes away its
// always-on-top state: SetWindowPos with HWND_NOTOPMOST, no position and no
// size, and SWP_NOSIZE | SWP_NOMOVE | SWP_ASYNCWINDOWPOS with
// SWP_SHOWWINDOW (0x4043) or SWP_HIDEWINDOW (0x4083). kOwnWindow, and
// nothing done, for a window of Vexlan's own process.
Outcome ShowOrHideWindow(WindowServices& ws, ShowHideServices& show_hide, WindowHandle wnd, bool show);

// Asks the window to close as its close box would: WM_CLOSE, posted, never
// waited on.
Outcome CloseWindow(WindowServices& ws, MessagePosting& posting, WindowHandle wnd);

// The most changes that may wait at once for windows to answer.
inline constexpr std::size_t kMaxWaitingChanges = 4;

// Runs the calls the system makes synchronous with a window's thread on
// threads of their own, one thread for each window that has changes
// waiting, which runs them in the order they came and ends with the last.
// A thread whose window never answers stays blocked, and its changes keep
// their places among the `limit`; they leave them as the window answers or
// goes. The object may go before its threads: a change not yet started
// then never runs.
class ChangeWorkers {
 public:
  explicit ChangeWorkers(unsigned wait_ms = kSendTimeoutMs, std::size_t limit = kMaxWaitingChanges);
  ~ChangeWorkers();
  ChangeWorkers(const ChangeWorkers&) = delete;
  ChangeWorkers& operator=(const ChangeWorkers&) = delete;

  // Runs `change` on `wnd`'s worker after the changes asked of it before,
  // and waits for it at most `wait_ms`: what it came to (kNotAnswered while
  // it is still waiting); kStillWaiting, and nothing started, when `limit`
  // changes are waiting already.
  Outcome Run(WindowServices& ws, WindowHandle wnd, std::function<SendResult()> change);
  // How many changes are asked for and not over.
  std::size_t Waiting() const;

 private:
  struct State;
  std::shared_ptr<State> state_;
  unsigned wait_ms_;
  std::size_t limit_;
};

// The program's one set of workers, shared by every form.
ChangeWorkers& ProgramChangeWorkers();

// The changes the user makes to another program's window. Each checks that
// the handle names a window and refuses, with kOwnWindow and nothing done,
// every window of Vexlan's own process.
class WindowChanger {
 public:
  WindowChanger(WindowServices& ws, WindowFactsServices& facts, WindowChangeServices& changes,
                ChangeWorkers& workers)
      : ws_(ws), facts_(facts), changes_(changes), workers_(workers) {}

  // EnableWindow, on the worker.
  Outcome SetEnabled(WindowHandle wnd, bool enabled);
  // Always on top or not: SetWindowPos with HWND_TOPMOST or HWND_NOTOPMOST,
  // without moving, sizing or activating it.
  Outcome SetTopmost(WindowHandle wnd, bool topmost);
  // A top-level window comes to the front, activated (SetForegroundWindow,
  // on the worker); a child window goes to the top of its siblings
  // (SetWindowPos with HWND_TOP).
  Outcome BringToFront(WindowHandle wnd);
  // Moves and sizes the window (SetWindowPos), in its parent's client
  // coordinates for a child window.
  Outcome MoveAndSize(WindowHandle wnd, const WindowPlace& place);
  // Writes the style and the extended style that differ from the window's
  // when the worker comes to them (SetWindowLongPtr), then has its frame
  // drawn again for them (SetWindowPos with SWP_FRAMECHANGED). kDone and
  // nothing sent when neither differs.
  Outcome SetStyles(WindowHandle wnd, std::uint32_t style, std::uint32_t ex_style);
  // kDone when the window may be changed, else why not: kNoWindow,
  // kOwnWindow.
  Outcome MayChange(WindowHandle wnd);

 private:
  Outcome Place(WindowHandle wnd, WindowHandle insert_after, const WindowPlace& place, unsigned flags);

  WindowServices& ws_;
  WindowFactsServices& facts_;
  WindowChangeServices& changes_;
  ChangeWorkers& workers_;
};

}  // namespace vexlan
