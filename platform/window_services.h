// The seam through which the program reaches windows of any process.
//
// Everything the core asks of the window manager goes through this interface,
// so the core runs natively against an in-memory desktop in tests and against
// user32 in the program. Handles are the 32-bit values Windows guarantees to be
// meaningful across 32/64-bit processes; 0 names no window. Texts crossing the
// seam are UTF-16, exactly as the platform's wide calls see them; the core
// converts to UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/windows_constants.h"

namespace vexlan {

using WindowHandle = std::int32_t;

// How long a message to another program's window may take before we give up
// on it as hung. Long enough for any healthy program, short enough that the
// user hardly notices a frozen one.
inline constexpr unsigned kSendTimeoutMs = 1000;

// Why a message did not reach a window's procedure, as the system says.
enum class SendError {
  kNone,          // it did: sent and answered, or posted
  kTimedOut,      // the wait ran out, or the system found the thread hung
  kAccessDenied,  // refused: a program of higher rights (under Wine also a
                  // receiver whose thread exited while we waited)
  kNoWindow,      // no such window
  kOther,         // refused for another reason (a full message queue)
};

// What a send, post or SetWindowPos came to: the message's result when it
// went through, else why not. True when it went through.
struct SendResult {
  std::intptr_t value = 0;
  SendError error = SendError::kNone;

  static SendResult Answered(std::intptr_t value) { return {value, SendError::kNone}; }
  static SendResult Failed(SendError error) { return {0, error}; }
  explicit operator bool() const { return error == SendError::kNone; }
  std::intptr_t operator*() const { return value; }
};

// The rights a process runs with, as its token tells: its integrity level
// (the mandatory label's RID: 0x1000 low, 0x2000 medium, 0x3000 high,
// 0x4000 system) and whether it is elevated. Nothing where the system will
// not tell.
struct ProcessRights {
  std::optional<std::uint32_t> integrity;
  std::optional<bool> elevated;
};

class WindowServices {
 public:
  virtual ~WindowServices() = default;

  // The top-level window at the top of the Z order, or 0.
  virtual WindowHandle TopWindow() = 0;
  // The next sibling below `wnd` in Z order, or 0 (GW_HWNDNEXT).
  virtual WindowHandle NextSibling(WindowHandle wnd) = 0;
  // The child at the top of `wnd`'s Z order, or 0 (GW_CHILD).
  virtual WindowHandle FirstChild(WindowHandle wnd) = 0;

  // The caption the system keeps for `wnd`, as GetWindowText copies it into a
  // buffer of `max_count` units (so at most max_count - 1); empty for a bad
  // window. Never sends a message to another process's window.
  virtual std::u16string WindowText(WindowHandle wnd, int max_count) = 0;
  // The class name, as GetClassName copies it into `max_count` units.
  virtual std::u16string ClassName(WindowHandle wnd, int max_count) = 0;
  // True only when `wnd` and all its ancestors are visible.
  virtual bool IsVisible(WindowHandle wnd) = 0;
  // A number naming the window's class while the class is registered (its
  // atom): windows of one class answer the same, windows of other classes
  // another; 0 for a bad window. Cheaper to ask than the class's name.
  virtual std::uint32_t ClassAtom(WindowHandle wnd) = 0;
  // The thread that made `wnd`; 0 for a bad window.
  virtual std::uint32_t ThreadOf(WindowHandle wnd) = 0;
  // The parent of a child window; 0 for a top-level window or a bad one.
  virtual WindowHandle ParentOf(WindowHandle wnd) = 0;
  // The sibling above `wnd` in Z order, or 0 (GW_HWNDPREV).
  virtual WindowHandle PreviousSibling(WindowHandle wnd) = 0;

  // True while `wnd` names a window (IsWindow).
  virtual bool Exists(WindowHandle wnd) = 0;
  // True when `wnd` belongs to the calling thread. A message sent to such a
  // window runs its procedure at once, inside the caller, whatever the
  // time-out: our own handlers, re-entered.
  virtual bool OnCallerThread(WindowHandle wnd) = 0;
  // True when `wnd` belongs to the calling process, on any thread.
  virtual bool InCallerProcess(WindowHandle wnd) = 0;
  // The rights of the process that owns `wnd`, and the caller's own, read
  // from their tokens without sending anything.
  virtual ProcessRights RightsOf(WindowHandle wnd) = 0;
  virtual ProcessRights OwnRights() = 0;

  // Sends a message and waits at most `timeout_ms` for the target's thread to
  // handle it, running none of the caller's own handlers meanwhile
  // (SMTO_BLOCK), and not at all for a thread the system finds hung
  // (SMTO_ABORTIFHUNG). Returns the message's result, or why it has none:
  // no such window, the wait ran out or the thread is hung (kTimedOut),
  // refused (kAccessDenied). A failure does not mean nothing happened: a
  // message the target's thread took in time and is still handling runs to
  // completion after the wait; only one it never took is withdrawn. `lparam` may carry a pointer, as with the platform's
  // call: for kGetText a char16_t buffer of `wparam` units, for kSetText a
  // zero-terminated char16_t string. A window of the caller's thread
  // handles the message at once, whatever `timeout_ms`.
  // (Not named after the platform's call, which <windows.h> makes a macro.)
  virtual SendResult SendWithTimeout(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam,
                                     unsigned timeout_ms) = 0;
};

}  // namespace vexlan
