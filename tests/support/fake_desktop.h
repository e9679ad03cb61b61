// An in-memory desktop behind the window-services seam, for native tests.
//
// Windows have a parent, a place in their siblings' Z order (first added is
// topmost), a caption, a class, a visibility flag and a text answered by
// message. Every message a window handles is logged. Faults can be injected:
// a lying text length, a WM_GETTEXT that copies more or less than asked or
// miscounts, a window that answers slowly or never, a next-sibling link that
// points anywhere (a Z-order cycle), and a callback run on every query, which
// can destroy windows in the middle of a walk. Waiting takes time on the
// desktop's own clock: a send advances it by as long as the window took to
// answer, or by the whole time-out when it did not answer in time. Sends
// time out as Windows documents: see answer_ms and handle_ms.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/platform_services.h"
#include "platform/window_services.h"
#include "tests/support/fake_clock.h"

namespace vexlan::testing {

struct LoggedMessage {
  unsigned message;
  std::uintptr_t wparam;
  std::intptr_t lparam;
  bool operator==(const LoggedMessage&) const = default;
};

// What a SetWindowPos call asked for.
struct LoggedWindowPos {
  WindowHandle insert_after;
  unsigned flags;
  bool operator==(const LoggedWindowPos&) const = default;
};

class FakeDesktop : public WindowServices, public MessagePosting, public ShowHideServices {
 public:
  static constexpr unsigned kNeverAnswers = std::numeric_limits<unsigned>::max();

  struct Window {
    WindowHandle handle = 0;
    WindowHandle parent = 0;
    std::u16string caption;
    std::u16string class_name;
    bool visible = true;
    // What WM_GETTEXT copies; an edit control's content may differ from its caption.
    std::u16string text;
    // When set, WM_GETTEXTLENGTH answers this instead of the true length.
    std::optional<std::intptr_t> reported_length;
    // When set, WM_GETTEXT copies this many units whatever the buffer's
    // size (its text, then 'x' filler), of which the system lets through at
    // most the buffer's size; the terminating zero only when there is room.
    std::optional<std::size_t> copies;
    // When set, WM_GETTEXT returns this instead of the number of units copied.
    std::optional<std::intptr_t> reported_copied;
    // A hung window handles no message: every send times out.
    bool hung = false;
    // How long the window takes to answer each of the next messages sent to
    // it, used up in order; a message beyond the list is answered at once.
    // kNeverAnswers hangs the window from that message on. A message not
    // taken within the time-out is withdrawn: nothing happens.
    std::vector<unsigned> answer_ms;
    // Then, how long its handler runs: past the time-out the message still
    // runs to completion, the sender told it timed out (WM_GETTEXT writes
    // into a copy the system throws away).
    std::vector<unsigned> handle_ms;
    // A window of the caller's own thread handles a send at once, time-out or not.
    bool own_thread = false;
    // When set, GW_HWNDNEXT answers this instead of the real next sibling.
    std::optional<WindowHandle> next_override;
    // Messages the window handled, and every message sent to it, handled or not.
    std::vector<LoggedMessage> received;
    std::vector<LoggedMessage> attempted;
    // The time-out each attempted message was sent with.
    std::vector<unsigned> timeouts_ms;
    // Messages posted to it, and SetWindowPos calls made on it.
    std::vector<LoggedMessage> posted;
    std::vector<LoggedMessage> notified;  // by SendNotify
    std::vector<LoggedWindowPos> positioned;

    // The thread that made it.
    std::uint32_t thread = 1;

    WindowHandle first_child = 0, last_child = 0, prev = 0, next = 0;
  };

  // Adds a window at the bottom of `parent`'s Z order (0: the desktop) and
  // returns its handle. Caption and text start equal. A handle of 0 picks
  // the next free one.
  WindowHandle Add(WindowHandle parent, const std::string& caption, const std::string& class_name,
                   bool visible = true, WindowHandle handle = 0);
  // Destroys `wnd` and its descendants.
  void Destroy(WindowHandle wnd);
  // Moves `wnd` to the bottom of its siblings' Z order, as activating
  // another window would.
  void MoveToBottom(WindowHandle wnd);
  Window& At(WindowHandle wnd) { return windows_.at(wnd); }
  std::size_t Size() const { return windows_.size(); }

  void SetText(WindowHandle wnd, const std::string& text);
  std::string TextOf(WindowHandle wnd) const;

  // Changes other programs make, each raising the window events Windows
  // raises for it (see on_event): a new caption (SetWindowText), a new place
  // in the Z order (SetWindowPos; `after` 0 is the top), a new parent at the
  // bottom of its children (SetParent; 0 is the desktop), shown or hidden
  // (ShowWindow). Add raises kCreated (and kShown for a visible window) and
  // Destroy kDestroyed for the window and every descendant, children first.
  void Rename(WindowHandle wnd, const std::string& caption);
  void Restack(WindowHandle wnd, WindowHandle after);
  void Reparent(WindowHandle wnd, WindowHandle parent);
  void SetVisible(WindowHandle wnd, bool visible);
  // Every window event the desktop raises, as Windows raises it: kReordered
  // names the parent whose children changed order (0: the desktop's).
  std::function<void(const WindowEvent&)> on_event;

  // The desktop's time, which passes only while a send waits.
  FakeClock clock;
  // Called with the handle at the start of every query about a window.
  std::function<void(WindowHandle)> on_query;
  // How many times IsVisible was asked.
  int visibility_queries = 0;

  WindowHandle TopWindow() override;
  WindowHandle NextSibling(WindowHandle wnd) override;
  WindowHandle FirstChild(WindowHandle wnd) override;
  std::u16string WindowText(WindowHandle wnd, int max_count) override;
  std::u16string ClassName(WindowHandle wnd, int max_count) override;
  bool IsVisible(WindowHandle wnd) override;
  // One atom per class name, numbered from 0xC000 as registered classes are.
  std::uint32_t ClassAtom(WindowHandle wnd) override;
  std::uint32_t ThreadOf(WindowHandle wnd) override;
  WindowHandle ParentOf(WindowHandle wnd) override;
  WindowHandle PreviousSibling(WindowHandle wnd) override;
  bool Exists(WindowHandle wnd) override { return windows_.count(wnd) != 0; }
  bool OnCallerThread(WindowHandle wnd) override;
  std::optional<std::intptr_t> SendWithTimeout(WindowHandle wnd, unsigned message, std::uintptr_t wparam,
                                               std::intptr_t lparam, unsigned timeout_ms) override;
  // Queues nothing: the message is logged, for a window that exists.
  bool Post(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) override;
  bool SendNotify(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) override;
  // Logged; SWP_SHOWWINDOW and SWP_HIDEWINDOW change the window's visibility.
  bool SetWindowPos(WindowHandle wnd, WindowHandle insert_after, unsigned flags) override;

 private:
  Window* Find(WindowHandle wnd);
  void Unlink(Window& w);
  void LinkLast(Window& w);
  std::intptr_t Handle(Window* w, unsigned message, std::uintptr_t wparam, std::intptr_t lparam, bool sender_waits);
  void Query(WindowHandle wnd) {
    if (on_query) on_query(wnd);
  }
  void Raise(WindowEventKind kind, WindowHandle wnd) {
    if (on_event) on_event({kind, wnd});
  }

  std::unordered_map<WindowHandle, Window> windows_;
  std::unordered_map<std::u16string, std::uint32_t> atoms_;
  WindowHandle top_first_ = 0, top_last_ = 0;
  WindowHandle next_handle_ = 0x10010;
};

}  // namespace vexlan::testing
