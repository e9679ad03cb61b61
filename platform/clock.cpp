#include "platform/clock.h"

#include <chrono>

namespace vexlan {

namespace {

class SteadyClockImpl final : public Clock {
 public:
  std::int64_t NowMs() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
};

}  // namespace

Clock& SteadyClock() {
  static SteadyClockImpl clock;
  return clock;
}

}  // namespace vexlan
