#include "tests/support/fake_message_windows.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace vexlan::testing {

std::intptr_t FakeMessageWindows::Deliver(WindowHandle wnd, unsigned message, std::intptr_t wparam,
                                          std::intptr_t lparam) {
  const auto it = windows_.find(wnd);
  if (it == windows_.end()) throw std::logic_error("no message window " + std::to_string(wnd));
  // A copy: the method may destroy its own window.
  const MessageMethod method = it->second;
  TMessage m{message, wparam, lparam, 0};
  method(m);
  return m.Result;
}

WindowHandle FakeMessageWindows::CreateMessageWindow(MessageMethod method) {
  ++creation_attempts;
  if (fail_creation) return 0;
  const WindowHandle wnd = next_;
  next_ += 4;
  windows_.emplace(wnd, std::move(method));
  return wnd;
}

void FakeMessageWindows::DestroyMessageWindow(WindowHandle wnd) {
  if (!Exists(wnd)) return;
  if (on_destroy) on_destroy(wnd);
  Deliver(wnd, msg::kDestroy);
  windows_.erase(wnd);
  destroyed.push_back(wnd);
}

std::intptr_t FakeMessageWindows::DefaultProcessing(WindowHandle wnd, const TMessage& message) {
  default_processed.push_back({wnd, message.Msg, message.WParam, message.LParam});
  return default_result;
}

}  // namespace vexlan::testing
