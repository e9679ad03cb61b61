#include "winutil/ExtCntrlsUtils.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/utf.h"

namespace vexlan {
namespace {

// A buffer cut at `n` units may end in the first half of a surrogate pair;
// that half alone is no character, so it goes.
std::u16string_view DropTrailingHighSurrogate(std::u16string_view text) {
  if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) text.remove_suffix(1);
  return text;
}

// A caption that fills the buffer may have been cut by the system in the
// middle of a pair; a shorter one ends where the window's text ends.
std::string FixedBufferText(std::u16string text) {
  const std::u16string_view cut = CutUtf16(text, kCaptionLimit);
  return Utf16ToUtf8(cut.size() == kCaptionLimit ? DropTrailingHighSurrogate(cut) : cut);
}

}  // namespace

unsigned TextSendTimeoutMs(std::size_t units) {
  const std::size_t extra = std::min<std::size_t>(units, kControlTextLimit) / kTextUnitsPerExtraMs;
  return static_cast<unsigned>(std::min<std::size_t>(kSendTimeoutMs + extra, kRoutineCeilingMs));
}

namespace {

// The values that stand for something else where a window handle goes.
constexpr WindowHandle kPseudoHandles[] = {kHwndTop, kHwndBottom, kHwndTopMost, kHwndNoTopMost, kHwndMessage,
                                           kHwndBroadcast};

// What a failed send or post means for the user. A refusal of a window
// that has gone is its going (under Wine, a receiver whose thread exits);
// one of a window whose program runs with a higher integrity level than
// ours is told as such.
Outcome Failed(WindowServices& ws, WindowHandle wnd, SendError error) {
  if (error == SendError::kNoWindow || !ws.Exists(wnd)) return Outcome::kNoWindow;
  if (error == SendError::kTimedOut) return Outcome::kNotAnswered;
  if (error == SendError::kAccessDenied) {
    const auto theirs = ws.RightsOf(wnd).integrity, ours = ws.OwnRights().integrity;
    if (theirs && ours && *theirs > *ours) return Outcome::kRefusedHigherRights;
  }
  return Outcome::kRefused;
}

}  // namespace

bool IsWindowHandle(WindowServices& ws, WindowHandle wnd) {
  for (const WindowHandle pseudo : kPseudoHandles) {
    if (wnd == pseudo) return false;
  }
  return ws.Exists(wnd);
}

ControlText ReadControlText(WindowServices& ws, WindowHandle wnd, Clock& clock) {
  if (!IsWindowHandle(ws, wnd)) return {{}, Outcome::kNoWindow};
  Deadline deadline(clock, kSendTimeoutMs);
  const SendResult reported = ws.SendWithTimeout(wnd, msg::kGetTextLength, 0, 0, deadline.LeftMs());
  if (!reported) return {{}, Failed(ws, wnd, reported.error)};
  // The length is the other program's word: a negative one means nothing, a
  // huge one is bounded so that a lying window cannot make us allocate gigabytes.
  const std::size_t length =
      *reported <= 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(*reported), kControlTextLimit);

  // A long text earns the routine more time, counted from its start.
  deadline.SetBudget(TextSendTimeoutMs(length));
  const unsigned left_ms = deadline.LeftMs();
  if (left_ms == 0) return {{}, Outcome::kNotAnswered};

  // Zeroed by the allocator: a lying length costs address space, not memory,
  // since pages the window does not write are never touched. When even that
  // cannot be had, the text is empty and not read.
  const std::unique_ptr<char16_t[], decltype(&std::free)> buffer(
      static_cast<char16_t*>(std::calloc(length + 1, sizeof(char16_t))), &std::free);
  if (!buffer) return {{}, Outcome::kNotAnswered};
  const SendResult copied =
      ws.SendWithTimeout(wnd, msg::kGetText, length + 1, reinterpret_cast<std::intptr_t>(buffer.get()), left_ms);
  if (!copied) return {{}, Failed(ws, wnd, copied.error)};
  // What was really copied ends at the first zero; the reported length may have
  // been larger than the text, and the count WM_GETTEXT returns is not trusted.
  const std::u16string_view text(buffer.get(), std::find(buffer.get(), buffer.get() + length, u'\0') - buffer.get());
  return {Utf16ToUtf8(text.size() == length ? DropTrailingHighSurrogate(text) : text), Outcome::kDone};
}

std::string GetControlText(WindowServices& ws, WindowHandle wnd, Clock& clock) {
  return ReadControlText(ws, wnd, clock).text;
}

Outcome SetControlText(WindowServices& ws, WindowHandle wnd, std::string_view text) {
  if (!IsWindowHandle(ws, wnd)) return Outcome::kNoWindow;
  const std::u16string wide = Utf8ToUtf16(text);
  const SendResult set = ws.SendWithTimeout(wnd, msg::kSetText, 0, reinterpret_cast<std::intptr_t>(wide.c_str()),
                                            TextSendTimeoutMs(wide.size()));
  if (!set) return Failed(ws, wnd, set.error);
  return *set ? Outcome::kDone : Outcome::kNotTaken;
}

WindowHandle GetNextSibling(WindowServices& ws, WindowHandle wnd) { return ws.NextSibling(wnd); }

WindowHandle GetFirstChild(WindowServices& ws, WindowHandle wnd) { return ws.FirstChild(wnd); }

std::string GetWindowCaption(WindowServices& ws, WindowHandle wnd) {
  return FixedBufferText(ws.WindowText(wnd, kCaptionLimit + 1));
}

std::string GetWindowClass(WindowServices& ws, WindowHandle wnd) {
  return FixedBufferText(ws.ClassName(wnd, kCaptionLimit + 1));
}

namespace {

Outcome SendClick(WindowServices& ws, MessagePosting& posting, WindowHandle wnd, unsigned down, unsigned up,
                  std::uintptr_t button) {
  if (!IsWindowHandle(ws, wnd)) return Outcome::kNoWindow;
  if (const SendResult pressed = posting.Post(wnd, down, button, 0); !pressed) return Failed(ws, wnd, pressed.error);
  // Refused only when the window went in between, which takes the press with it.
  if (const SendResult released = posting.Post(wnd, up, button, 0); !released) {
    return Failed(ws, wnd, released.error);
  }
  if (ws.OnCallerThread(wnd)) return Outcome::kDone;
  // Sent messages run before posted ones: an answer means the thread reads
  // its queue, and the click comes next.
  const SendResult answered = ws.SendWithTimeout(wnd, msg::kNull, 0, 0, kSendTimeoutMs);
  return answered ? Outcome::kDone : Failed(ws, wnd, answered.error);
}

}  // namespace

Outcome SendLeftClick(WindowServices& ws, MessagePosting& posting, WindowHandle wnd) {
  return SendClick(ws, posting, wnd, msg::kLButtonDown, msg::kLButtonUp, kMkLButton);
}

Outcome SendRightClick(WindowServices& ws, MessagePosting& posting, WindowHandle wnd) {
  return SendClick(ws, posting, wnd, msg::kRButtonDown, msg::kRButtonUp, kMkRButton);
}

Outcome ShowOrHideWindow(WindowServices& ws, ShowHideServices& show_hide, WindowHandle wnd, bool show) {
  if (!IsWindowHandle(ws, wnd)) return Outcome::kNoWindow;
  // Hiding one of our own would strand the program (its main window, its
  // tree, its bar) or leave a highlight band on the screen.
  if (ws.InCallerProcess(wnd)) return Outcome::kOwnWindow;
  const unsigned flags = kSwpNoSize | kSwpNoMove | kSwpAsyncWindowPos | (show ? kSwpShowWindow : kSwpHideWindow);
  const SendResult placed = show_hide.SetWindowPos(wnd, kHwndNoTopMost, flags);
  return placed ? Outcome::kDone : Failed(ws, wnd, placed.error);
}

Outcome CloseWindow(WindowServices& ws, MessagePosting& posting, WindowHandle wnd) {
  if (!IsWindowHandle(ws, wnd)) return Outcome::kNoWindow;
  const SendResult posted = posting.Post(wnd, msg::kClose, 0, 0);
  return posted ? Outcome::kDone : Failed(ws, wnd, posted.error);
}

namespace {

struct Change {
  std::function<SendResult()> call;
  SendResult result;
  bool over = false;
};

}  // namespace

struct ChangeWorkers::State {
  std::mutex lock;
  std::condition_variable over;
  // Each window's changes not yet over, oldest first; its thread runs the
  // first. A window is listed while its thread runs.
  std::map<WindowHandle, std::deque<std::shared_ptr<Change>>> queues;
  std::size_t waiting = 0;
  // The workers' object has gone: what has not started never will.
  bool abandoned = false;

  static void Work(const std::shared_ptr<State>& state, WindowHandle wnd) {
    std::unique_lock held(state->lock);
    std::deque<std::shared_ptr<Change>>& queue = state->queues.at(wnd);
    while (!queue.empty() && !state->abandoned) {
      const std::shared_ptr<Change> change = queue.front();
      held.unlock();
      SendResult result = SendResult::Failed(SendError::kOther);
      try {
        result = change->call();
      } catch (...) {
        // Told as refused, like any other call the system failed.
      }
      held.lock();
      change->result = result;
      change->over = true;
      queue.pop_front();
      --state->waiting;
      state->over.notify_all();
    }
    state->waiting -= queue.size();
    state->queues.erase(wnd);
  }
};

ChangeWorkers::ChangeWorkers(unsigned wait_ms, std::size_t limit)
    : state_(std::make_shared<State>()), wait_ms_(wait_ms), limit_(limit) {}

ChangeWorkers::~ChangeWorkers() {
  const std::lock_guard held(state_->lock);
  state_->abandoned = true;
}

std::size_t ChangeWorkers::Waiting() const {
  const std::lock_guard held(state_->lock);
  return state_->waiting;
}

Outcome ChangeWorkers::Run(WindowServices& ws, WindowHandle wnd, std::function<SendResult()> call) {
  auto change = std::make_shared<Change>();
  change->call = std::move(call);
  std::unique_lock held(state_->lock);
  if (state_->waiting >= limit_) return Outcome::kStillWaiting;
  std::deque<std::shared_ptr<Change>>& queue = state_->queues[wnd];
  queue.push_back(change);
  ++state_->waiting;
  if (queue.size() == 1) {
    try {
      std::thread(&State::Work, state_, wnd).detach();
    } catch (...) {
      state_->queues.erase(wnd);
      --state_->waiting;
      throw;
    }
  }
  if (!state_->over.wait_for(held, std::chrono::milliseconds(wait_ms_), [&] { return change->over; })) {
    return Outcome::kNotAnswered;
  }
  const SendResult result = change->result;
  held.unlock();
  return result ? Outcome::kDone : Failed(ws, wnd, result.error);
}

ChangeWorkers& ProgramChangeWorkers() {
  // Never destroyed: a worker may outlive every form.
  static ChangeWorkers* const workers = new ChangeWorkers;
  return *workers;
}

Outcome WindowChanger::MayChange(WindowHandle wnd) {
  if (!IsWindowHandle(ws_, wnd)) return Outcome::kNoWindow;
  // A change to one of our own windows would wait on our own thread, or
  // leave the program in a state it never expects.
  if (ws_.InCallerProcess(wnd)) return Outcome::kOwnWindow;
  return Outcome::kDone;
}

Outcome WindowChanger::Place(WindowHandle wnd, WindowHandle insert_after, const WindowPlace& place, unsigned flags) {
  if (const Outcome may = MayChange(wnd); may != Outcome::kDone) return may;
  const SendResult placed = changes_.PlaceWindow(wnd, insert_after, place, flags | kSwpAsyncWindowPos);
  return placed ? Outcome::kDone : Failed(ws_, wnd, placed.error);
}

Outcome WindowChanger::SetEnabled(WindowHandle wnd, bool enabled) {
  if (const Outcome may = MayChange(wnd); may != Outcome::kDone) return may;
  WindowChangeServices& changes = changes_;
  return workers_.Run(ws_, wnd, [&changes, wnd, enabled] { return changes.EnableWindow(wnd, enabled); });
}

Outcome WindowChanger::SetTopmost(WindowHandle wnd, bool topmost) {
  return Place(wnd, topmost ? kHwndTopMost : kHwndNoTopMost, {}, kSwpNoMove | kSwpNoSize | kSwpNoActivate);
}

Outcome WindowChanger::BringToFront(WindowHandle wnd) {
  if (const Outcome may = MayChange(wnd); may != Outcome::kDone) return may;
  const std::optional<WindowRecord> record = facts_.Record(wnd);
  if (!record) return Outcome::kNoWindow;
  if (record->style & kWsChild) return Place(wnd, kHwndTop, {}, kSwpNoMove | kSwpNoSize | kSwpNoActivate);
  WindowChangeServices& changes = changes_;
  return workers_.Run(ws_, wnd, [&changes, wnd] { return changes.SetForegroundWindow(wnd); });
}

Outcome WindowChanger::MoveAndSize(WindowHandle wnd, const WindowPlace& place) {
  return Place(wnd, kHwndTop, place, kSwpNoZOrder | kSwpNoActivate);
}

Outcome WindowChanger::SetStyles(WindowHandle wnd, std::uint32_t style, std::uint32_t ex_style) {
  if (const Outcome may = MayChange(wnd); may != Outcome::kDone) return may;
  WindowChangeServices& changes = changes_;
  WindowFactsServices& facts = facts_;
  // Compared when the worker comes to it: changes asked before may still
  // be on their way to the window.
  return workers_.Run(ws_, wnd, [&changes, &facts, wnd, style, ex_style] {
    const std::optional<WindowRecord> now = facts.Record(wnd);
    if (!now) return SendResult::Failed(SendError::kNoWindow);
    if (now->style == style && now->ex_style == ex_style) return SendResult::Answered(0);
    if (now->style != style) {
      if (const SendResult set = changes.SetStyleValue(wnd, kGwlStyle, style); !set) return set;
    }
    if (now->ex_style != ex_style) {
      if (const SendResult set = changes.SetStyleValue(wnd, kGwlExStyle, ex_style); !set) return set;
    }
    constexpr unsigned kRedrawFrame =
        kSwpNoMove | kSwpNoSize | kSwpNoZOrder | kSwpNoActivate | kSwpFrameChanged | kSwpAsyncWindowPos;
    return changes.PlaceWindow(wnd, kHwndTop, {}, kRedrawFrame);
  });
}

}  // namespace vexlan
