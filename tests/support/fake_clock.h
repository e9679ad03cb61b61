// A clock for native tests: its time moves only when something advances it
// (the fake desktop does, while a send waits on a window).
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace vexlan::testing {

class FakeClock : public Clock {
 public:
  std::int64_t NowMs() override { return now_ms; }
  void Advance(std::int64_t ms) { now_ms += ms; }

  std::int64_t now_ms = 0;
};

}  // namespace vexlan::testing
