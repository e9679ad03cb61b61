// The work the calling thread has done, as the live tree budgets it: the
// processor time the system charges the thread (user and kernel).
//
// On Windows a call into the window manager runs in the caller's thread,
// the kernel's part counted in its kernel time. Under Wine most calls are
// answered by the server process, whose time the thread's does not show;
// measured there, a walk of a thousand windows cost the server about as
// much as the caller (25 ms against 20 to 25 ms), so under Wine the meter
// counts the thread's time twice.
#pragma once

#include <cstdint>

#include "winutil/live_tree.h"

namespace vexlan {

class ThreadWorkMeter : public WorkMeter {
 public:
  ThreadWorkMeter();
  std::int64_t SpentUs() override;
  // How many times the thread's own time is counted (2 under Wine).
  int Factor() const { return factor_; }

 private:
  int factor_ = 1;
};

}  // namespace vexlan
