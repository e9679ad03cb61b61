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
//    it; one the thread took runs to completion after we stop waiting. So a
//    click's release follows the press once: after a press answered in
//    time, by SendNotifyMessage, which queues it as a sent message that can
//    be neither withdrawn nor doubled and returns at once (a sent message is
//    handled before the target's posted ones, so nothing the target already
//    queued comes between press and release); after a press that was not
//    answered (the target may be tracking the mouse inside its press
//    handler until the button goes up, or hung), by posting it.
// 3. Never synchronous on another thread's window for show and hide:
//    SetWindowPos on it always carries SWP_ASYNCWINDOWPOS, which the system
//    hands to the window's thread; the plain call only on our own thread.
// 4. Never re-entered. While a routine waits, none of our handlers runs
//    (WindowServices::SendWithTimeout: SMTO_BLOCK | SMTO_ABORTIFHUNG); a
//    target that calls back into us waits at most until our time-out. A
//    message sent to a window of our own thread would run its procedure
//    inside the handler that chose the action, time-out or not: clicks on
//    our own windows are posted, press then release, and run once that
//    handler has returned.
// 5. Honest. The routines say whether the window answered (SendOutcome); a
//    time-out is told, not shown as an empty text. A window that no longer
//    exists reads as empty and takes nothing.
//
// Texts are UTF-8; limits count UTF-16 units, as the platform does.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/platform_services.h"
#include "platform/window_services.h"

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

// How a routine's messages fared.
enum class SendOutcome {
  kAnswered,     // the window handled every message in time
  kNotAnswered,  // a wait ran out (or the system found the window hung)
  kNoWindow,     // no such window, or it went meanwhile
};

struct ControlText {
  std::string text;  // empty unless answered
  SendOutcome outcome = SendOutcome::kNoWindow;
};

// The window's whole text, asked of the window itself (WM_GETTEXTLENGTH, then
// WM_GETTEXT into a buffer one unit longer). Sees an edit control's content.
// Both messages together take at most TextSendTimeoutMs of the length the
// window reported.
ControlText ReadControlText(WindowServices& ws, WindowHandle wnd, Clock& clock = SteadyClock());
// The text alone: empty when the window did not answer.
std::string GetControlText(WindowServices& ws, WindowHandle wnd, Clock& clock = SteadyClock());
// Replaces the window's text (WM_SETTEXT), within TextSendTimeoutMs of its
// length.
SendOutcome SetControlText(WindowServices& ws, WindowHandle wnd, std::string_view text);
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
// move). The press is sent and waits at most kSendTimeoutMs; the release
// follows as the policy above says.
void SendLeftClick(WindowServices& ws, MessagePosting& posting, WindowHandle wnd);
// The same with the right button: WM_RBUTTONDOWN and WM_RBUTTONUP, wParam
// MK_RBUTTON.
void SendRightClick(WindowServices& ws, MessagePosting& posting, WindowHandle wnd);

// Shows or hides `wnd` where it is, at its size, and takes away its
// always-on-top state: SetWindowPos with HWND_NOTOPMOST, no position and no
// size, and SWP_NOSIZE | SWP_NOMOVE with SWP_SHOWWINDOW (0x0043) or
// SWP_HIDEWINDOW (0x0083), asynchronous on another thread's window.
void ShowOrHideWindow(WindowServices& ws, ShowHideServices& show_hide, WindowHandle wnd, bool show);

}  // namespace vexlan
