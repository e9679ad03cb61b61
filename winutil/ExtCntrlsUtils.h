// Routines that read and act on a window of any process by its handle.
//
// None of them checks its handle or reports an error: for a handle that names
// no window, or a window whose thread does not answer within kSendTimeoutMs,
// the readers return an empty string or 0 and the actions have no effect.
// A routine that sends two messages has one deadline, measured on `clock`:
// the second message gets only what the first left of it, and is not sent
// at all when nothing is left.
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

// How long a text message may take: kSendTimeoutMs, and more for a long
// text, which a healthy program needs time to take in or give (Wine's
// word-wrapping edit control takes 2 to 5 s to take a million characters,
// depending on the fonts it falls back on and on the machine's load).
inline constexpr std::size_t kTextUnitsPerExtraMs = 100;
unsigned TextSendTimeoutMs(std::size_t units);

// The window's whole text, asked of the window itself (WM_GETTEXTLENGTH, then
// WM_GETTEXT into a buffer one unit longer). Sees an edit control's content.
// Both messages together take at most TextSendTimeoutMs of the length the
// window reported.
std::string GetControlText(WindowServices& ws, WindowHandle wnd, Clock& clock = SteadyClock());
// Replaces the window's text (WM_SETTEXT).
void SetControlText(WindowServices& ws, WindowHandle wnd, std::string_view text);
// The next sibling below `wnd` in Z order, or 0.
WindowHandle GetNextSibling(WindowServices& ws, WindowHandle wnd);
// The child at the top of `wnd`'s Z order, or 0.
WindowHandle GetFirstChild(WindowServices& ws, WindowHandle wnd);
// The caption the system keeps, at most kCaptionLimit units.
std::string GetWindowCaption(WindowServices& ws, WindowHandle wnd);
// The class name, at most kCaptionLimit units.
std::string GetWindowClass(WindowServices& ws, WindowHandle wnd);
// A left click at client point (0, 0): the press, then the release, each sent
// (not posted) with wParam MK_LBUTTON and lParam 0, so it lands on the target
// alone and the cursor does not move. A click always ends with its release:
// a program that is not hung may run a loop inside its press handler until
// the button goes up (a scroll bar tracks the mouse), so when the press is
// not answered in time the release is posted instead of sent. Press and
// release together wait at most kSendTimeoutMs; a release for which no time
// is left, or that is not answered in time, is posted too.
void SendLeftClick(WindowServices& ws, MessagePosting& posting, WindowHandle wnd, Clock& clock = SteadyClock());
// The same with the right button: WM_RBUTTONDOWN and WM_RBUTTONUP, wParam
// MK_RBUTTON.
void SendRightClick(WindowServices& ws, MessagePosting& posting, WindowHandle wnd, Clock& clock = SteadyClock());

}  // namespace vexlan
