// The platform's window events over the fake desktop.
//
// Out-of-context events wait in the watching thread's queue until it reads
// its messages: the fake queues what the desktop raises and hands it to the
// watchers when the test calls Deliver, as a message loop would. It follows
// Windows, which raises every kind, or Wine 8, which raises only kCreated.
// Events for windows of the caller's own thread are left out, as Vexlan
// leaves out its own process.
#pragma once

#include <cstddef>
#include <map>
#include <vector>

#include "platform/platform_services.h"
#include "tests/support/fake_desktop.h"

namespace vexlan::testing {

class FakeWindowEvents : public WindowEventServices {
 public:
  enum class Raises { kEverything, kCreationsOnly };

  // Listens to `desktop` from now on; `desktop` must outlive this object.
  FakeWindowEvents(FakeDesktop& desktop, Raises raises);
  ~FakeWindowEvents() override;

  int Watch(Sink sink) override;
  void Unwatch(int watch) override;

  // Hands every queued event to the watchers, oldest first; returns how many.
  std::size_t Deliver();
  std::size_t Queued() const { return queue_.size(); }

 private:
  FakeDesktop& desktop_;
  Raises raises_;
  std::vector<WindowEvent> queue_;
  std::map<int, Sink> sinks_;
  int next_watch_ = 1;
};

}  // namespace vexlan::testing
