#include "tests/support/fake_window_events.h"

namespace vexlan::testing {

FakeWindowEvents::FakeWindowEvents(FakeDesktop& desktop, Raises raises) : desktop_(desktop), raises_(raises) {
  desktop_.on_event = [this](const WindowEvent& e) {
    if (raises_ == Raises::kCreationsOnly && e.kind != WindowEventKind::kCreated) return;
    if (e.wnd != 0 && desktop_.Exists(e.wnd) && desktop_.At(e.wnd).own_thread) return;
    if (!sinks_.empty()) queue_.push_back(e);
  };
}

FakeWindowEvents::~FakeWindowEvents() { desktop_.on_event = nullptr; }

int FakeWindowEvents::Watch(Sink sink) {
  sinks_.emplace(next_watch_, std::move(sink));
  return next_watch_++;
}

void FakeWindowEvents::Unwatch(int watch) {
  sinks_.erase(watch);
  if (sinks_.empty()) queue_.clear();
}

std::size_t FakeWindowEvents::Deliver() {
  const std::vector<WindowEvent> events = std::move(queue_);
  queue_.clear();
  for (const WindowEvent& e : events) {
    // A watcher may stop watching while it is told.
    for (auto it = sinks_.begin(); it != sinks_.end();) {
      const auto next = std::next(it);
      it->second(e);
      it = next;
    }
  }
  return events.size();
}

}  // namespace vexlan::testing
