// The platform's services for our own windows and for the user's input, one
// small interface per concern, beside WindowServices (other programs'
// windows). Each is implemented over user32 in platform/win32 and replaced by
// a small fake in native tests. Handles are 32-bit WindowHandle values, as
// everywhere in the core; 0 names no window.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/window_message.h"
#include "platform/window_services.h"
#include "platform/windows_constants.h"

namespace vexlan {

// Receives every message of one hidden window as a record; the record's
// Result is what the window answers.
using MessageMethod = std::function<void(WindowMessage&)>;

// Hidden windows of our own that exist only to receive messages.
class MessageWindowServices {
 public:
  virtual ~MessageWindowServices() = default;

  // Makes a hidden top-level window whose messages, from the end of its
  // creation on, reach `method` on this thread. Returns 0 when the window
  // cannot be made.
  virtual WindowHandle CreateMessageWindow(MessageMethod method) = 0;
  // Destroys a window made by CreateMessageWindow. Its WM_DESTROY reaches the
  // method before this returns, and nothing reaches it afterwards. Any other
  // handle is ignored.
  virtual void DestroyMessageWindow(WindowHandle wnd) = 0;
  // The system's default processing of `message` for such a window, and its
  // result.
  virtual std::intptr_t DefaultProcessing(WindowHandle wnd, const WindowMessage& message) = 0;
};

// The desktop's table of system-wide hot keys, shared by every program.
class HotKeyServices {
 public:
  virtual ~HotKeyServices() = default;

  // Asks for the combination `modifiers` + `virtual_key` for window `wnd`
  // under `id`. True when granted: each press then posts WM_HOTKEY with
  // wParam = id to `wnd`, whatever program has the focus. False when any
  // hot key, of any program, holds the combination already (kModNoRepeat is
  // no part of a combination).
  virtual bool RegisterHotKey(WindowHandle wnd, int id, unsigned modifiers, unsigned virtual_key) = 0;
  // Releases what `wnd` holds under `id`; false when it held nothing.
  virtual bool UnregisterHotKey(WindowHandle wnd, int id) = 0;
};

struct ScreenPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Where the mouse is and what lies under it.
class CursorServices {
 public:
  virtual ~CursorServices() = default;

  // The cursor position in screen coordinates; nothing when the system will
  // not tell (another desktop has the input).
  virtual std::optional<ScreenPoint> CursorPos() = 0;
  // The window at `point`, of whatever program, or 0.
  virtual WindowHandle WindowFromPoint(ScreenPoint point) = 0;
};

// Showing and hiding any program's window.
class ShowHideServices {
 public:
  virtual ~ShowHideServices() = default;

  // SetWindowPos(wnd, insert_after, 0, 0, 0, 0, flags): done, or handed to
  // the window's thread with SWP_ASYNCWINDOWPOS; else why not.
  virtual SendResult SetWindowPos(WindowHandle wnd, WindowHandle insert_after, unsigned flags) = 0;
};

// Messages handed to a window without waiting for them.
class MessagePosting {
 public:
  virtual ~MessagePosting() = default;

  // PostMessage: went through when the message was queued; a window that
  // has gone takes none. It runs when the target's thread reads its queue,
  // after the messages sent to that thread; posted messages are never
  // withdrawn and run in the order they were posted.
  virtual SendResult Post(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) = 0;
  // SendNotifyMessage: for a window of another thread, queued as a sent
  // message and never withdrawn, and the call returns at once; for a window
  // of the caller's thread, handled before the call returns.
  virtual SendResult SendNotify(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) = 0;
};

// How a window's thread scales for DPI; Unknown where the system cannot
// tell (before Windows 10, 1607).
enum class DpiAwareness { Unknown, Unaware, System, PerMonitor, PerMonitorV2 };

// Left, top, right, bottom, right and bottom exclusive.
struct WindowRect {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// Where SetWindowPos puts a window: its left-top corner and its size.
struct WindowPlace {
  std::int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  friend bool operator==(const WindowPlace&, const WindowPlace&) = default;
};

// What the system keeps of one window, as it gives it.
struct WindowRecord {
  std::u16string class_name;
  std::u16string caption;  // the system's copy, whatever process the window is in
  WindowRect rect;         // screen coordinates
  // The same rectangle where SetWindowPos places the window: in its
  // parent's client coordinates for a child window, else on the screen.
  WindowRect placement{};
  WindowRect client;       // client coordinates: left and top are 0
  std::uint32_t style = 0, ex_style = 0, class_style = 0;
  // A child window's control identifier; a top-level window has none.
  std::optional<std::int64_t> id;
  // The window a child window stands in, the window that owns a top-level
  // one; 0 for none.
  WindowHandle parent = 0, owner = 0;
  std::uint32_t thread_id = 0, process_id = 0;
  bool visible = false, enabled = false, minimized = false, maximized = false, unicode = false;
  // The system calls its thread hung: no message taken for five seconds.
  bool hung = false;
  int dpi = 0;
  DpiAwareness awareness = DpiAwareness::Unknown;
};

// What the Window Properties dialog reads of another program's window,
// without sending it anything or waiting for its thread.
class WindowFactsServices {
 public:
  virtual ~WindowFactsServices() = default;

  // True while `wnd` names a window (IsWindow).
  virtual bool Exists(WindowHandle wnd) = 0;
  // The window's record; nothing when there is no such window. A window
  // that goes while it is read may give anything.
  virtual std::optional<WindowRecord> Record(WindowHandle wnd) = 0;
  // The full path of process `process_id`'s executable; nothing when the
  // system refuses to tell (access denied) or there is no such process.
  virtual std::optional<std::u16string> ProcessImage(std::uint32_t process_id) = 0;
};

// What the platform tells about other programs' windows as they change.
enum class WindowEventKind {
  kCreated,
  kDestroyed,
  kShown,
  kHidden,
  kRenamed,     // its caption changed
  kReordered,   // the Z order of its children changed
  kReparented,  // it has another parent
};

struct WindowEvent {
  WindowEventKind kind = WindowEventKind::kCreated;
  // The window; for kReordered the parent, 0 for the desktop's own children.
  WindowHandle wnd = 0;
  friend bool operator==(const WindowEvent&, const WindowEvent&) = default;
};

// Window events of every process but ours, delivered on the watching thread
// as it reads its messages. Not every platform raises every kind: Wine 8
// raises only kCreated, Windows all of them. Events for whole windows only,
// never for their parts (scroll bars, carets, menus).
class WindowEventServices {
 public:
  using Sink = std::function<void(const WindowEvent&)>;
  virtual ~WindowEventServices() = default;

  // Starts telling `sink` about window events on this thread, until Unwatch
  // with the number returned; 0 when the platform refuses.
  virtual int Watch(Sink sink) = 0;
  virtual void Unwatch(int watch) = 0;
};

// Changes to any program's window beyond showing and hiding.
//
// PlaceWindow with SWP_ASYNCWINDOWPOS hands the request to the window's
// thread and returns at once. The other calls return only once the
// window's thread has handled what the system sends it for them, however
// long that takes, forever for a thread that never answers: the caller
// makes them where such a wait holds nothing up. Each says whether it went
// through, or why not (no such window; refused, for a program of higher
// rights).
class WindowChangeServices {
 public:
  virtual ~WindowChangeServices() = default;

  // SetWindowPos(wnd, insert_after, x, y, width, height, flags).
  virtual SendResult PlaceWindow(WindowHandle wnd, WindowHandle insert_after, const WindowPlace& place,
                                 unsigned flags) = 0;
  // EnableWindow: sets or clears WS_DISABLED, then sends WM_ENABLE.
  virtual SendResult EnableWindow(WindowHandle wnd, bool enable) = 0;
  // SetWindowLongPtr with kGwlStyle or kGwlExStyle: WM_STYLECHANGING, the
  // change, WM_STYLECHANGED. (Not named after the platform's call, which
  // <windows.h> makes a macro.)
  virtual SendResult SetStyleValue(WindowHandle wnd, int index, std::uint32_t value) = 0;
  // SetForegroundWindow: brings the window to the front and activates it.
  virtual SendResult SetForegroundWindow(WindowHandle wnd) = 0;
};

}  // namespace vexlan
