#include "tests/support/fake_desktop.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/utf.h"

namespace vexlan::testing {

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

  LinkLast(windows_.emplace(handle, std::move(w)).first->second);
  Raise(WindowEventKind::kCreated, handle);
  if (visible) Raise(WindowEventKind::kShown, handle);
  return handle;
}

void FakeDesktop::Destroy(WindowHandle wnd) {
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

std::optional<std::intptr_t> FakeDesktop::SendWithTimeout(WindowHandle wnd, unsigned message,
                                                              std::uintptr_t wparam, std::intptr_t lparam,
                                                              unsigned timeout_ms) {
  Query(wnd);
  Window* w = Find(wnd);
  if (!w) return std::nullopt;
  w->attempted.push_back({message, wparam, lparam});
  w->timeouts_ms.push_back(timeout_ms);
  unsigned answer_ms = 0;
  if (!w->answer_ms.empty()) {
    answer_ms = w->answer_ms.front();
    w->answer_ms.erase(w->answer_ms.begin());
    if (answer_ms == kNeverAnswers) w->hung = true;
  }
  const unsigned handle_ms = w->handle_ms.empty() ? 0 : w->handle_ms.front();
  if (!w->handle_ms.empty()) w->handle_ms.erase(w->handle_ms.begin());
  if (w->own_thread) {
    clock.Advance(handle_ms);
    return Handle(w, message, wparam, lparam, true);
  }
  if (w->hung || answer_ms > timeout_ms) {
    clock.Advance(timeout_ms);
    return std::nullopt;
  }
  const bool late = std::uint64_t{answer_ms} + handle_ms > timeout_ms;
  clock.Advance(late ? timeout_ms : answer_ms + handle_ms);
  const std::intptr_t result = Handle(w, message, wparam, lparam, !late);
  if (late) return std::nullopt;
  return result;
}

std::intptr_t FakeDesktop::Handle(Window* w, unsigned message, std::uintptr_t wparam, std::intptr_t lparam,
                                  bool sender_waits) {
  w->received.push_back({message, wparam, lparam});
  switch (message) {
    case msg::kGetTextLength:
      return w->reported_length.value_or(static_cast<std::intptr_t>(w->text.size()));
    case msg::kGetText: {
      if (wparam == 0 || !sender_waits) return w->reported_copied.value_or(0);
      auto* buffer = reinterpret_cast<char16_t*>(lparam);
      std::size_t n = 0;
      if (w->copies) {
        n = std::min<std::size_t>(*w->copies, wparam);
        for (std::size_t i = 0; i < n; ++i) buffer[i] = i < w->text.size() ? w->text[i] : u'x';
      } else {
        n = std::min<std::size_t>(wparam - 1, w->text.size());
        std::copy_n(w->text.begin(), n, buffer);
      }
      if (n < wparam) buffer[n] = u'\0';
      return w->reported_copied.value_or(static_cast<std::intptr_t>(n));
    }
    case msg::kSetText:
      w->text = reinterpret_cast<const char16_t*>(lparam);
      w->caption = w->text;
      return 1;
    default:
      return 0;
  }
}

bool FakeDesktop::Post(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  Window* w = Find(wnd);
  if (!w) return false;
  w->posted.push_back({message, wparam, lparam});
  return true;
}

bool FakeDesktop::SendNotify(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  Window* w = Find(wnd);
  if (!w) return false;
  w->notified.push_back({message, wparam, lparam});
  return true;
}

bool FakeDesktop::SetWindowPos(WindowHandle wnd, WindowHandle insert_after, unsigned flags) {
  Window* w = Find(wnd);
  if (!w) return false;
  w->positioned.push_back({insert_after, flags});
  if (flags & kSwpShowWindow) w->visible = true;
  if (flags & kSwpHideWindow) w->visible = false;
  return true;
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
