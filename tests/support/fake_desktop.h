// An in-memory desktop behind the platform's seams, for native tests.
//
// Windows have a parent, a place in their siblings' Z order (first added is
// topmost), a caption, a class, a visibility flag, a text answered by
// message, a process and what Window Properties reads of them. Faults can be
// injected: a lying text length, a WM_GETTEXT that copies more or less than
// asked or miscounts, a next-sibling link that points anywhere (a Z-order
// cycle), and a callback run on every query, which can destroy windows in
// the middle of a walk.
//
// Each window other than the caller's own has a thread of its own, which
// behaves as the platform does (tests/support/platform_contract.h holds the
// rows it passes, with real windows under Wine): time passes only while a
// send waits or a test lets it pass (Sleep, Drain); a thread can stall,
// take no message for a while, run a handler past the sender's time-out,
// send back to the caller's thread while it handles a message, exit. A
// message sent with a time-out that its thread has not taken by then is
// withdrawn; one it took runs to completion. A thread that has taken no
// message for kHungAfterMs is hung: SMTO_ABORTIFHUNG gives up on it at
// once. Posted messages, SendNotify and asynchronous SetWindowPos queue for
// the thread, which takes sent ones before posted ones, each in order, when
// it is free. The caller's own thread takes its queue only in Pump().
//
// EnableWindow and the style values wait for the window's thread as a send
// without a time-out would: on the desktop's own thread (the test's) time
// passes; another thread blocks until a test lets the window's thread take
// them, or the window or the desktop goes (then they fail as no window).
// SetForegroundWindow is handed to the thread, as under Wine (Windows does
// not say whether it waits). Each takes effect when the thread takes it, as
// asynchronous SetWindowPos does: shown or hidden, moved and sized (the
// screen rectangle with the placement), in or out of the topmost band; the
// fake keeps no Z order beyond the order windows were added in.
//
// Processes have rights: a message to a window of a process of a higher
// integrity level than the caller's is refused with ERROR_ACCESS_DENIED
// (Windows' UIPI; Wine has none, and every process there reads High, so
// the two agree where levels are equal).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
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
  WindowPlace place{};
  bool operator==(const LoggedWindowPos&) const = default;
};

// What the fake logs for SetForegroundWindow.
inline constexpr unsigned kActivate = 0x0006;  // WM_ACTIVATE

// A change, as the message the window gets for it (WM_ENABLE, the state;
// WM_STYLECHANGED, index and value; WM_ACTIVATE), and the caller's thread.
struct LoggedCall {
  LoggedMessage message;
  std::thread::id thread;
};

class FakeDesktop : public WindowServices,
                    public MessagePosting,
                    public ShowHideServices,
                    public WindowFactsServices,
                    public WindowChangeServices {
 public:
  static constexpr unsigned kNeverAnswers = std::numeric_limits<unsigned>::max();
  static constexpr std::int64_t kForever = std::numeric_limits<std::int64_t>::max() / 4;
  static constexpr std::int64_t kHungAfterMs = 5000;
  // The caller's process, and the one every other window belongs to unless
  // a test says otherwise.
  static constexpr std::uint32_t kOwnProcess = 100, kOtherProcess = 200;

  struct Process {
    std::optional<std::u16string> image;  // nothing: the system refuses to tell
    ProcessRights rights;
    // Its token can be read by the caller: else RightsOf tells nothing.
    bool token_readable = true;
  };

  // Something queued for a window's thread.
  struct Queued {
    LoggedMessage message;
    std::int64_t arrived_ms = 0;
    std::optional<LoggedWindowPos> position;  // an asynchronous SetWindowPos
    WindowHandle blocked = 0;                 // a sent-back message: the window whose handler waits for it
    bool change = false;                                  // a WindowChangeServices call
    std::shared_ptr<std::promise<SendResult>> pending{};  // what its caller waits for
  };

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
    // Its thread has taken no message for longer than kHungAfterMs and never will.
    bool hung = false;
    // The thread stalls for this long from each of the next messages sent
    // to it, used up in order (kNeverAnswers: for good).
    std::vector<unsigned> answer_ms;
    // Then, how long its handler of each runs; after these, slow_ms.
    std::vector<unsigned> handle_ms;
    std::map<unsigned, unsigned> slow_ms;
    // The thread takes no message from busy_since_ms until busy_until_ms.
    std::int64_t busy_since_ms = 0, busy_until_ms = 0;
    // The thread ends then, without taking another message, and its windows go.
    std::optional<std::int64_t> exits_at_ms;
    // While handling `message` the handler sends `back` to `to`, a window of
    // the caller's thread, and waits for it.
    struct SendBack {
      unsigned message;
      WindowHandle to;
      unsigned back;
    };
    std::optional<SendBack> sends_back;
    // WM_SETTEXT answers FALSE and changes nothing.
    bool refuses_text = false;
    // A window of the caller's own thread handles a send at once, time-out or not.
    bool own_thread = false;
    std::uint32_t process_id = kOtherProcess;
    // What Record gives, apart from what the fields above say.
    WindowRecord facts;
    // When set, GW_HWNDNEXT answers this instead of the real next sibling.
    std::optional<WindowHandle> next_override;
    // Messages whose handler ran (and when it returned: kForever while it
    // still runs), and every message sent to it, handled or not.
    std::vector<LoggedMessage> received;
    std::vector<std::int64_t> done_ms;
    std::vector<LoggedMessage> attempted;
    // The time-out each attempted message was sent with.
    std::vector<unsigned> timeouts_ms;
    // Messages posted to it, sent by SendNotify, and SetWindowPos calls made on it.
    std::vector<LoggedMessage> posted;
    std::vector<LoggedMessage> notified;
    std::vector<LoggedWindowPos> positioned;
    // Synchronous changes asked of it, taken or not.
    std::vector<LoggedCall> changes;
    std::deque<Queued> sent_queue, posted_queue;

    // The thread that made it.
    std::uint32_t thread = 1;

    WindowHandle first_child = 0, last_child = 0, prev = 0, next = 0;
  };

  FakeDesktop();

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

  // From now, `wnd`'s thread takes no message for `ms`.
  void Stall(WindowHandle wnd, unsigned ms);
  // `ms` pass; free threads take what is queued for them.
  void Sleep(unsigned ms);
  // The caller's thread reads its queue: its windows take what was sent
  // and posted to them.
  void Pump();
  // Time passes until `wnd`'s thread has taken all that is queued for it.
  void Drain(WindowHandle wnd);
  // The messages whose handler has returned by now.
  std::vector<LoggedMessage> Handled(WindowHandle wnd) const;

  // The desktop's time, which passes only while a send waits or a test lets it.
  FakeClock clock;
  std::map<std::uint32_t, Process> processes;
  // Called with the handle at the start of every query about a window (for
  // Record, once it is read: a window can go between the calls that read it).
  std::function<void(WindowHandle)> on_query;
  // The window SetForegroundWindow brought to the front last.
  WindowHandle foreground = 0;
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
  bool InCallerProcess(WindowHandle wnd) override;
  ProcessRights RightsOf(WindowHandle wnd) override;
  ProcessRights OwnRights() override { return processes[kOwnProcess].rights; }
  SendResult SendWithTimeout(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam,
                             unsigned timeout_ms) override;
  SendResult Post(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) override;
  SendResult SendNotify(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) override;
  // SWP_SHOWWINDOW and SWP_HIDEWINDOW change the window's visibility, at
  // once on the caller's thread, when its thread takes it with
  // SWP_ASYNCWINDOWPOS, after waiting for its thread without.
  SendResult SetWindowPos(WindowHandle wnd, WindowHandle insert_after, unsigned flags) override;
  std::optional<WindowRecord> Record(WindowHandle wnd) override;
  std::optional<std::u16string> ProcessImage(std::uint32_t process_id) override;
  SendResult PlaceWindow(WindowHandle wnd, WindowHandle insert_after, const WindowPlace& place,
                         unsigned flags) override;
  SendResult EnableWindow(WindowHandle wnd, bool enable) override;
  SendResult SetStyleValue(WindowHandle wnd, int index, std::uint32_t value) override;
  SendResult SetForegroundWindow(WindowHandle wnd) override;

 private:
  Window* Find(WindowHandle wnd);
  void Unlink(Window& w);
  void LinkLast(Window& w);
  bool Hung(const Window& w) const;
  // UIPI: the window's process runs at a higher integrity level than ours.
  bool Refuses(const Window& w);
  bool ShownWithAncestors(WindowHandle wnd);
  std::uint32_t ProcessOf(const Window& w) const { return w.own_thread ? kOwnProcess : w.process_id; }
  // The window's handler of `message`; returns its result. Its effect
  // happens at once; `sender_waits` false: a WM_GETTEXT buffer is a copy
  // the system throws away.
  std::intptr_t Handle(Window& w, unsigned message, std::uintptr_t wparam, std::intptr_t lparam, bool sender_waits);
  void Take(Window& w, const Queued& queued, std::int64_t at_ms);
  SendResult Position(WindowHandle wnd, const LoggedWindowPos& request);
  // Applies what a change does to `w`.
  void Change(Window& w, const LoggedMessage& change);
  SendResult Synchronous(WindowHandle wnd, const LoggedMessage& change, bool waits);
  // Threads that are free take what is queued; threads that end by now end.
  void Run();
  void Query(WindowHandle wnd) {
    if (on_query) on_query(wnd);
  }
  void Raise(WindowEventKind kind, WindowHandle wnd) {
    if (on_event) on_event({kind, wnd});
  }

  // Held by every call a worker thread may make and by what lets time pass,
  // so a worker's change never meets the test's thread inside the desktop.
  std::shared_ptr<std::recursive_mutex> mutex_ = std::make_shared<std::recursive_mutex>();
  std::thread::id own_thread_ = std::this_thread::get_id();
  std::unordered_map<WindowHandle, Window> windows_;
  std::unordered_map<std::u16string, std::uint32_t> atoms_;
  WindowHandle top_first_ = 0, top_last_ = 0;
  WindowHandle next_handle_ = 0x10010;
};

}  // namespace vexlan::testing
