// The platform's window events over the fake desktop. Out-of-context events
// wait in the watching thread's queue until it reads its messages: the fake
// queues what the desktop raises and hands it over when the test calls
// Deliver, as a message loop would. It follows Windows, which raises every
// kind, or Wine 8, which raises only kCreated (a Wine test shows it).
// Events of the caller's own thread's windows are left out, as Vexlan
// leaves out its own process.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "platform/platform_services.h"
#include "tests/support/fake_desktop.h"

namespace vexlan::testing {

class FakeWindowEvents : public WindowEventServices {
 public:
  enum class Raises { kEverything, kCreationsOnly };

  // Listens to `desktop`, which must outlive this object.
  FakeWindowEvents(FakeDesktop& desktop, Raises raises) : desktop_(desktop) {
    desktop_.on_event = [this, raises](const WindowEvent& e) {
      const bool own = e.wnd != 0 && desktop_.Exists(e.wnd) && desktop_.At(e.wnd).own_thread;
      if (!sinks_.empty() && !own && (raises == Raises::kEverything || e.kind == WindowEventKind::kCreated)) {
        queue_.push_back(e);
      }
    };
  }
  ~FakeWindowEvents() override { desktop_.on_event = nullptr; }

  int Watch(Sink sink) override { return sinks_.emplace(next_++, std::move(sink)), next_ - 1; }
  void Unwatch(int watch) override { sinks_.erase(watch); }
  // Hands every queued event to the watchers, oldest first.
  void Deliver() {
    for (const WindowEvent& e : std::exchange(queue_, {})) {
      for (auto& [watch, sink] : sinks_) sink(e);
    }
  }

 private:
  FakeDesktop& desktop_;
  std::vector<WindowEvent> queue_;
  std::map<int, Sink> sinks_;
  int next_ = 1;
};

}  // namespace vexlan::testing
