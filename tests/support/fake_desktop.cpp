#include "tests/support/fake_desktop.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/utf.h"

namespace vexlan::testing {

FakeDesktop::FakeDesktop() {
  processes[kOwnProcess] = {u"C:\\Program Files\\Vexlan\\vexlan.exe", {0x2000, false}};
  processes[kOtherProcess] = {u"C:\\fake.exe", {0x2000, false}};
}


WindowHandle FakeDesktop::Add(WindowHandle parent, const std::string& caption, const std::string& class_name,
                              bool visible, WindowHandle handle) {
  if (parent != 0 && !Exists(parent)) throw std::invalid_argument("no such parent");
  if (handle == 0) {
    while (Exists(next_handle_)) next_handle_ += 2;
    handle = next_handle_;
    next_handle_ += 2;
  }
  if (Exists(handle)) throw std::invalid_argument("handle in use");
  Window w;
  w.handle = handle;
  w.parent = parent;
  w.caption = Utf8ToUtf16(caption);
  w.text = w.caption;
  w.class_name = Utf8ToUtf16(class_name);
  w.visible = visible;
  w.facts.enabled = true;

  LinkLast(windows_.emplace(handle, std::move(w)).first->second);
  Raise(WindowEventKind::kCreated, handle);
  if (visible) Raise(WindowEventKind::kShown, handle);
  return handle;
}

void FakeDesktop::Destroy(WindowHandle wnd) {
  const std::lock_guard guard(*mutex_);
  Window* w = Find(wnd);
  if (!w) return;
  if (w->visible) Raise(WindowEventKind::kHidden, wnd);
  while (w->first_child) {
    Destroy(w->first_child);
    w = Find(wnd);
  }
  Unlink(*w);
  windows_.erase(wnd);
  Raise(WindowEventKind::kDestroyed, wnd);
}

void FakeDesktop::MoveToBottom(WindowHandle wnd) {
  Window& w = At(wnd);
  Unlink(w);
  LinkLast(w);
}

void FakeDesktop::Unlink(Window& w) {
  WindowHandle& first = w.parent ? windows_.at(w.parent).first_child : top_first_;
  WindowHandle& last = w.parent ? windows_.at(w.parent).last_child : top_last_;
  if (w.prev) windows_.at(w.prev).next = w.next; else first = w.next;
  if (w.next) windows_.at(w.next).prev = w.prev; else last = w.prev;
  w.prev = w.next = 0;
}

void FakeDesktop::LinkLast(Window& w) {
  WindowHandle& first = w.parent ? windows_.at(w.parent).first_child : top_first_;
  WindowHandle& last = w.parent ? windows_.at(w.parent).last_child : top_last_;
  w.prev = last;
  if (last) windows_.at(last).next = w.handle;
  last = w.handle;
  if (!first) first = w.handle;
}

void FakeDesktop::SetText(WindowHandle wnd, const std::string& text) { At(wnd).text = Utf8ToUtf16(text); }

std::string FakeDesktop::TextOf(WindowHandle wnd) const { return Utf16ToUtf8(windows_.at(wnd).text); }

FakeDesktop::Window* FakeDesktop::Find(WindowHandle wnd) {
  auto it = windows_.find(wnd);
  return it == windows_.end() ? nullptr : &it->second;
}

WindowHandle FakeDesktop::TopWindow() {
  Query(0);
  return top_first_;
}

WindowHandle FakeDesktop::NextSibling(WindowHandle wnd) {
  Query(wnd);
  const Window* w = Find(wnd);
  if (!w) return 0;
  return w->next_override.value_or(w->next);
}

WindowHandle FakeDesktop::FirstChild(WindowHandle wnd) {
  Query(wnd);
  const Window* w = Find(wnd);
  return w ? w->first_child : 0;
}

namespace {
// What GetWindowText/GetClassName copy into a buffer of `max_count` units.
std::u16string Copied(const std::u16string& s, int max_count) {
  if (max_count <= 0) return {};
  return s.substr(0, static_cast<std::size_t>(max_count - 1));
}
}  // namespace

std::u16string FakeDesktop::WindowText(WindowHandle wnd, int max_count) {
  Query(wnd);
  const Window* w = Find(wnd);
  return w ? Copied(w->caption, max_count) : std::u16string();
}

std::u16string FakeDesktop::ClassName(WindowHandle wnd, int max_count) {
  Query(wnd);
  const Window* w = Find(wnd);
  return w ? Copied(w->class_name, max_count) : std::u16string();
}

bool FakeDesktop::IsVisible(WindowHandle wnd) {
  Query(wnd);
  ++visibility_queries;
  return ShownWithAncestors(wnd);
}

bool FakeDesktop::ShownWithAncestors(WindowHandle wnd) {
  for (const Window* w = Find(wnd); w; w = w->parent ? Find(w->parent) : nullptr) {
    if (!w->visible) return false;
    if (!w->parent) return true;
  }
  return false;
}

bool FakeDesktop::OnCallerThread(WindowHandle wnd) {
  const Window* w = Find(wnd);
  return w && w->own_thread;
}

bool FakeDesktop::InCallerProcess(WindowHandle wnd) {
  const Window* w = Find(wnd);
  return w && ProcessOf(*w) == kOwnProcess;
}

ProcessRights FakeDesktop::RightsOf(WindowHandle wnd) {
  const Window* w = Find(wnd);
  if (!w || !processes[ProcessOf(*w)].token_readable) return {};
  return processes[ProcessOf(*w)].rights;
}

bool FakeDesktop::Refuses(const Window& w) {
  const auto theirs = processes[ProcessOf(w)].rights.integrity, ours = OwnRights().integrity;
  return theirs && ours && *theirs > *ours;
}

bool FakeDesktop::Hung(const Window& w) const {
  return w.hung || (w.busy_until_ms > clock.now_ms && clock.now_ms - w.busy_since_ms > kHungAfterMs);
}

void FakeDesktop::Stall(WindowHandle wnd, unsigned ms) {
  Window& w = At(wnd);
  if (w.busy_until_ms <= clock.now_ms) w.busy_since_ms = clock.now_ms;
  w.busy_until_ms = std::max(w.busy_until_ms, ms == kNeverAnswers ? kForever : clock.now_ms + ms);
}

SendResult FakeDesktop::SendWithTimeout(WindowHandle wnd, unsigned message, std::uintptr_t wparam,
                                        std::intptr_t lparam, unsigned timeout_ms) {
  Query(wnd);
  Window* w = Find(wnd);
  if (!w) return SendResult::Failed(SendError::kNoWindow);
  w->attempted.push_back({message, wparam, lparam});
  w->timeouts_ms.push_back(timeout_ms);
  if (Refuses(*w)) return SendResult::Failed(SendError::kAccessDenied);
  std::optional<unsigned> answer_ms, handle_ms;
  if (!w->answer_ms.empty()) {
    answer_ms = w->answer_ms.front();
    w->answer_ms.erase(w->answer_ms.begin());
  }
  if (!w->handle_ms.empty()) {
    handle_ms = w->handle_ms.front();
    w->handle_ms.erase(w->handle_ms.begin());
  }
  const unsigned duration = handle_ms ? *handle_ms : w->slow_ms.count(message) ? w->slow_ms[message] : 0;
  if (w->own_thread) {
    clock.Advance(duration);
    const std::intptr_t result = Handle(*w, message, wparam, lparam, true);
    w->received.push_back({message, wparam, lparam});
    w->done_ms.push_back(clock.now_ms);
    return SendResult::Answered(result);
  }
  // SMTO_ABORTIFHUNG: at once, with ERROR_TIMEOUT (as Wine's server does).
  if (Hung(*w)) return SendResult::Failed(SendError::kTimedOut);
  if (answer_ms) Stall(wnd, *answer_ms);
  const std::int64_t start = clock.now_ms, give_up = start + timeout_ms;
  const std::int64_t take = std::max(start, w->busy_until_ms);
  // A receiver whose thread ends while we wait: Wine fails the send with
  // ERROR_ACCESS_DENIED; Windows does not document it, so the fake follows
  // Wine, the platform the program is tested on.
  if (w->exits_at_ms && *w->exits_at_ms <= std::min(take, give_up)) {
    clock.now_ms = *w->exits_at_ms;
    Run();
    return SendResult::Failed(SendError::kAccessDenied);
  }
  // Not taken in time: withdrawn.
  if (take > give_up) {
    clock.now_ms = give_up;
    Run();
    return SendResult::Failed(SendError::kTimedOut);
  }
  const bool sends_back = w->sends_back && w->sends_back->message == message;
  std::int64_t done = sends_back ? kForever : take + duration;
  const std::intptr_t result = Handle(*w, message, wparam, lparam, done <= give_up);
  if (sends_back) At(w->sends_back->to).sent_queue.push_back({{w->sends_back->back, 0, 0}, take, std::nullopt, wnd});
  w->received.push_back({message, wparam, lparam});
  w->done_ms.push_back(done);
  w->busy_since_ms = take;
  w->busy_until_ms = done;
  // Taken, and handled past the time-out: it runs to completion unseen.
  clock.now_ms = std::min(done, give_up);
  Run();
  return done <= give_up ? SendResult::Answered(result) : SendResult::Failed(SendError::kTimedOut);
}

std::intptr_t FakeDesktop::Handle(Window& w, unsigned message, std::uintptr_t wparam, std::intptr_t lparam,
                                  bool sender_waits) {
  switch (message) {
    case msg::kGetTextLength:
      return w.reported_length.value_or(static_cast<std::intptr_t>(w.text.size()));
    case msg::kGetText: {
      if (wparam == 0 || !sender_waits) return w.reported_copied.value_or(0);
      auto* buffer = reinterpret_cast<char16_t*>(lparam);
      std::size_t n = 0;
      if (w.copies) {
        n = std::min<std::size_t>(*w.copies, wparam);
        for (std::size_t i = 0; i < n; ++i) buffer[i] = i < w.text.size() ? w.text[i] : u'x';
      } else {
        n = std::min<std::size_t>(wparam - 1, w.text.size());
        std::copy_n(w.text.begin(), n, buffer);
      }
      if (n < wparam) buffer[n] = u'\0';
      return w.reported_copied.value_or(static_cast<std::intptr_t>(n));
    }
    case msg::kSetText:
      if (w.refuses_text) return 0;
      w.text = reinterpret_cast<const char16_t*>(lparam);
      w.caption = w.text;
      return 1;
    default:
      return 0;
  }
}

void FakeDesktop::Take(Window& w, const Queued& queued, std::int64_t at_ms) {
  std::int64_t done = at_ms;
  if (queued.position) {
    const LoggedWindowPos& p = *queued.position;
    if (p.flags & kSwpShowWindow) w.visible = true;
    if (p.flags & kSwpHideWindow) w.visible = false;
    WindowRecord& f = w.facts;
    if (!(p.flags & kSwpNoZOrder) && (p.insert_after == kHwndTopMost || p.insert_after == kHwndNoTopMost)) {
      f.ex_style = p.insert_after == kHwndTopMost ? f.ex_style | kWsExTopMost : f.ex_style & ~kWsExTopMost;
    }
    // The screen rectangle keeps its offset from the placement: the
    // parent's client origin.
    WindowRect& r = f.placement;
    const std::int32_t dx = f.rect.Left - r.Left, dy = f.rect.Top - r.Top;
    const bool moves = !(p.flags & kSwpNoMove), sizes = !(p.flags & kSwpNoSize);
    const std::int32_t left = moves ? p.place.Left : r.Left, top = moves ? p.place.Top : r.Top;
    r = {left, top, left + (sizes ? p.place.Width : r.Right - r.Left), top + (sizes ? p.place.Height : r.Bottom - r.Top)};
    f.rect = {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
  } else {
    const LoggedMessage& m = queued.message;
    if (queued.change) Change(w, m);
    Handle(w, m.message, m.wparam, m.lparam, true);
    if (w.slow_ms.count(m.message)) done += w.slow_ms[m.message];
    w.received.push_back(m);
    w.done_ms.push_back(done);
    if (queued.pending) queued.pending->set_value(SendResult::Answered(0));
  }
  w.busy_since_ms = at_ms;
  w.busy_until_ms = done;
  // The handler that sent this back and waited for it returns now.
  if (Window* sender = queued.blocked ? Find(queued.blocked) : nullptr) {
    for (std::int64_t& d : sender->done_ms) {
      if (d == kForever) d = at_ms;
    }
    sender->busy_until_ms = at_ms;
  }
}

void FakeDesktop::Run() {
  std::vector<WindowHandle> handles;
  for (const auto& [handle, w] : windows_) handles.push_back(handle);
  for (const WindowHandle handle : handles) {
    Window* w = Find(handle);
    if (!w) continue;
    if (w->exits_at_ms && *w->exits_at_ms <= clock.now_ms) {
      Destroy(handle);
      continue;
    }
    if (w->own_thread || w->hung) continue;
    while (w->busy_until_ms <= clock.now_ms && !(w->sent_queue.empty() && w->posted_queue.empty())) {
      std::deque<Queued>& queue = w->sent_queue.empty() ? w->posted_queue : w->sent_queue;
      const Queued next = queue.front();
      queue.pop_front();
      Take(*w, next, std::max(w->busy_until_ms, next.arrived_ms));
    }
  }
}

void FakeDesktop::Sleep(unsigned ms) {
  const std::lock_guard guard(*mutex_);
  clock.Advance(ms);
  Run();
}

void FakeDesktop::Pump() {
  const std::lock_guard guard(*mutex_);
  for (auto& [handle, w] : windows_) {
    while (w.own_thread && !(w.sent_queue.empty() && w.posted_queue.empty())) {
      std::deque<Queued>& queue = w.sent_queue.empty() ? w.posted_queue : w.sent_queue;
      const Queued next = queue.front();
      queue.pop_front();
      Take(w, next, clock.now_ms);
    }
  }
  Run();
}

void FakeDesktop::Drain(WindowHandle wnd) {
  const std::lock_guard guard(*mutex_);
  for (Window* w = Find(wnd); w; w = Find(wnd)) {
    if (w->own_thread) return Pump();
    if (w->busy_until_ms <= clock.now_ms && w->sent_queue.empty() && w->posted_queue.empty()) return;
    if (w->hung || w->busy_until_ms >= kForever) throw std::logic_error("the window's thread never takes its messages");
    clock.now_ms = std::max(clock.now_ms, std::min(w->busy_until_ms, w->exits_at_ms.value_or(kForever)));
    Run();
  }
}

std::vector<LoggedMessage> FakeDesktop::Handled(WindowHandle wnd) const {
  const std::lock_guard guard(*mutex_);
  std::vector<LoggedMessage> handled;
  const auto it = windows_.find(wnd);
  if (it == windows_.end()) return handled;
  for (std::size_t i = 0; i < it->second.received.size(); ++i) {
    if (it->second.done_ms[i] <= clock.now_ms) handled.push_back(it->second.received[i]);
  }
  return handled;
}

SendResult FakeDesktop::Post(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  Window* w = Find(wnd);
  if (!w) return SendResult::Failed(SendError::kNoWindow);
  if (Refuses(*w)) return SendResult::Failed(SendError::kAccessDenied);
  w->posted.push_back({message, wparam, lparam});
  w->posted_queue.push_back({{message, wparam, lparam}, clock.now_ms, std::nullopt, 0});
  Run();
  return SendResult::Answered(1);
}

SendResult FakeDesktop::SendNotify(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  Window* w = Find(wnd);
  if (!w) return SendResult::Failed(SendError::kNoWindow);
  if (Refuses(*w)) return SendResult::Failed(SendError::kAccessDenied);
  w->notified.push_back({message, wparam, lparam});
  const Queued sent{{message, wparam, lparam}, clock.now_ms, std::nullopt, 0};
  if (w->own_thread) {
    Take(*w, sent, clock.now_ms);
  } else {
    w->sent_queue.push_back(sent);
    Run();
  }
  return SendResult::Answered(1);
}

SendResult FakeDesktop::SetWindowPos(WindowHandle wnd, WindowHandle insert_after, unsigned flags) {
  return Position(wnd, {insert_after, flags});
}

SendResult FakeDesktop::PlaceWindow(WindowHandle wnd, WindowHandle insert_after, const WindowPlace& place,
                                    unsigned flags) {
  return Position(wnd, {insert_after, flags, place});
}

SendResult FakeDesktop::Position(WindowHandle wnd, const LoggedWindowPos& position) {
  const std::lock_guard guard(*mutex_);
  Window* w = Find(wnd);
  if (!w) return SendResult::Failed(SendError::kNoWindow);
  w->positioned.push_back(position);
  const unsigned flags = position.flags;
  const Queued request{{0, 0, 0}, clock.now_ms, position, 0};
  if (!w->own_thread && (flags & kSwpAsyncWindowPos)) {
    w->sent_queue.push_back(request);
    Run();
    return SendResult::Answered(1);
  }
  // Synchronous on another thread: the caller waits for it.
  if (!w->own_thread && (Hung(*w) || w->busy_until_ms >= kForever)) {
    throw std::logic_error("SetWindowPos would wait for a thread that never answers");
  }
  clock.now_ms = std::max(clock.now_ms, w->own_thread ? clock.now_ms : w->busy_until_ms);
  Take(*w, request, clock.now_ms);
  Run();
  return SendResult::Answered(1);
}

std::optional<WindowRecord> FakeDesktop::Record(WindowHandle wnd) {
  const std::lock_guard guard(*mutex_);
  const Window* w = Find(wnd);
  if (!w) return std::nullopt;
  WindowRecord r = w->facts;
  r.class_name = w->class_name;
  r.caption = w->caption;
  r.parent = w->parent;
  r.process_id = ProcessOf(*w);
  r.visible = ShownWithAncestors(wnd);
  r.hung = Hung(*w);
  Query(wnd);
  return r;
}

std::optional<std::u16string> FakeDesktop::ProcessImage(std::uint32_t process_id) {
  const auto it = processes.find(process_id);
  return it == processes.end() ? std::nullopt : it->second.image;
}

SendResult FakeDesktop::EnableWindow(WindowHandle wnd, bool enable) {
  return Synchronous(wnd, {msg::kEnable, enable ? 1u : 0u, 0}, true);
}

SendResult FakeDesktop::SetStyleValue(WindowHandle wnd, int index, std::uint32_t value) {
  return Synchronous(wnd, {msg::kStyleChanged, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(index)), value}, true);
}

SendResult FakeDesktop::SetForegroundWindow(WindowHandle wnd) { return Synchronous(wnd, {kActivate, 1, 0}, false); }

void FakeDesktop::Change(Window& w, const LoggedMessage& change) {
  constexpr std::uint32_t kWsDisabled = 0x08000000;
  WindowRecord& f = w.facts;
  if (change.message == msg::kEnable) f.style = change.wparam ? f.style & ~kWsDisabled : f.style | kWsDisabled;
  if (change.message == msg::kStyleChanged) {
    (static_cast<std::intptr_t>(change.wparam) == kGwlStyle ? f.style : f.ex_style) =
        static_cast<std::uint32_t>(change.lparam);
  }
  if (change.message == kActivate) foreground = w.handle;
  f.enabled = (f.style & kWsDisabled) == 0;
}

SendResult FakeDesktop::Synchronous(WindowHandle wnd, const LoggedMessage& change, bool waits) {
  std::unique_lock guard(*mutex_);
  Window* w = Find(wnd);
  if (!w) return SendResult::Failed(SendError::kNoWindow);
  w->changes.push_back({change, std::this_thread::get_id()});
  if (Refuses(*w)) return SendResult::Failed(SendError::kAccessDenied);
  const auto pending = waits ? std::make_shared<std::promise<SendResult>>() : nullptr;
  w->sent_queue.push_back({change, clock.now_ms, std::nullopt, 0, true, pending});
  Run();
  if (!pending) return SendResult::Answered(1);
  std::future<SendResult> over = pending->get_future();
  // The caller's thread waits as a send without a time-out does.
  if (std::this_thread::get_id() == own_thread_) Drain(wnd);
  guard.unlock();
  // `this` may be gone once the wait is over. A window that goes, or a
  // desktop, drops the promise, and with it the change.
  try {
    return over.get();
  } catch (const std::future_error&) {
    return SendResult::Failed(SendError::kNoWindow);
  }
}

}  // namespace vexlan::testing

namespace vexlan::testing {

// Changes other programs make, with the events Windows raises for them.

void FakeDesktop::Rename(WindowHandle wnd, const std::string& caption) {
  At(wnd).caption = At(wnd).text = Utf8ToUtf16(caption);
  Raise(WindowEventKind::kRenamed, wnd);
}

void FakeDesktop::Restack(WindowHandle wnd, WindowHandle after) {
  Window& w = At(wnd);
  if (after == wnd || (after != 0 && At(after).parent != w.parent)) throw std::invalid_argument("not a sibling");
  Unlink(w);
  WindowHandle& first = w.parent ? windows_.at(w.parent).first_child : top_first_;
  WindowHandle& last = w.parent ? windows_.at(w.parent).last_child : top_last_;
  w.prev = after;
  w.next = after ? windows_.at(after).next : first;
  (after ? windows_.at(after).next : first) = wnd;
  (w.next ? windows_.at(w.next).prev : last) = wnd;
  Raise(WindowEventKind::kReordered, w.parent);
}

void FakeDesktop::Reparent(WindowHandle wnd, WindowHandle parent) {
  for (WindowHandle a = parent; a != 0; a = At(a).parent) {
    if (a == wnd) throw std::invalid_argument("a window cannot go under itself");
  }
  Unlink(At(wnd));
  At(wnd).parent = parent;
  LinkLast(At(wnd));
  Raise(WindowEventKind::kReparented, wnd);
}

void FakeDesktop::SetVisible(WindowHandle wnd, bool visible) {
  if (std::exchange(At(wnd).visible, visible) == visible) return;
  Raise(visible ? WindowEventKind::kShown : WindowEventKind::kHidden, wnd);
}

std::uint32_t FakeDesktop::ClassAtom(WindowHandle wnd) {
  Query(wnd);
  const Window* w = Find(wnd);
  return w ? atoms_.try_emplace(w->class_name, static_cast<std::uint32_t>(0xC000 + atoms_.size())).first->second : 0;
}

std::uint32_t FakeDesktop::ThreadOf(WindowHandle wnd) {
  Query(wnd);
  return Find(wnd) ? Find(wnd)->thread : 0;
}

WindowHandle FakeDesktop::ParentOf(WindowHandle wnd) {
  Query(wnd);
  return Find(wnd) ? Find(wnd)->parent : 0;
}

WindowHandle FakeDesktop::PreviousSibling(WindowHandle wnd) {
  Query(wnd);
  return Find(wnd) ? Find(wnd)->prev : 0;
}

}  // namespace vexlan::testing
