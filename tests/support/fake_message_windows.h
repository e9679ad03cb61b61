// Hidden message windows for native tests: the test delivers their messages
// (WM_HOTKEY, WM_DESTROY, anything) by hand, and can make creation fail.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "platform/platform_services.h"
#include "platform/toolkit/classes.h"

namespace vexlan::testing {

// A message that reached default processing.
struct DefaultProcessed {
  WindowHandle wnd;
  unsigned message;
  std::intptr_t wparam;
  std::intptr_t lparam;
  bool operator==(const DefaultProcessed&) const = default;
};

class FakeMessageWindows : public MessageWindowServices {
 public:
  // Creation answers 0 while this is set.
  bool fail_creation = false;
  // What default processing answers.
  std::intptr_t default_result = 0;
  // Runs as a destruction begins, before WM_DESTROY is delivered.
  std::function<void(WindowHandle)> on_destroy;

  int creation_attempts = 0;
  std::vector<WindowHandle> destroyed;
  std::vector<DefaultProcessed> default_processed;

  bool Exists(WindowHandle wnd) const { return windows_.count(wnd) != 0; }
  std::size_t Count() const { return windows_.size(); }
  // Hands a message to the window's method, as the system would, and returns
  // the result; throws std::logic_error for a window that does not exist.
  std::intptr_t Deliver(WindowHandle wnd, unsigned message, std::intptr_t wparam = 0, std::intptr_t lparam = 0);

  WindowHandle CreateMessageWindow(MessageMethod method) override;
  void DestroyMessageWindow(WindowHandle wnd) override;
  std::intptr_t DefaultProcessing(WindowHandle wnd, const TMessage& message) override;

 private:
  std::map<WindowHandle, MessageMethod> windows_;
  WindowHandle next_ = 0x100;
};

}  // namespace vexlan::testing
