// The time the routines that wait on other programs measure their deadlines
// by. The program reads the steady clock; native tests give a fake one whose
// time passes only when the fake desktop waits.
#pragma once

#include <cstdint>

namespace vexlan {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary fixed point; never goes back.
  virtual std::int64_t NowMs() = 0;
};

// std::chrono::steady_clock.
Clock& SteadyClock();

// A time budget counted from when it is made. A routine that sends several
// messages gives each only what is left of its one budget.
class Deadline {
 public:
  Deadline(Clock& clock, unsigned budget_ms) : clock_(clock), start_ms_(clock.NowMs()), budget_ms_(budget_ms) {}
  // The whole budget becomes `budget_ms`, still counted from the start.
  void SetBudget(unsigned budget_ms) { budget_ms_ = budget_ms; }
  // What is left of the budget now; 0 once it is spent.
  unsigned LeftMs() const {
    const std::int64_t spent = clock_.NowMs() - start_ms_;
    if (spent <= 0) return budget_ms_;
    return spent >= budget_ms_ ? 0u : static_cast<unsigned>(budget_ms_ - spent);
  }

 private:
  Clock& clock_;
  std::int64_t start_ms_;
  unsigned budget_ms_;
};

}  // namespace vexlan
