// A timer component: OnTimer every Interval milliseconds while enabled, on
// the thread that runs the message loop. A disabled timer never ticks, and a
// tick never runs inside another tick's handler.
#pragma once

#include <windows.h>

#include "platform/toolkit/classes.h"
#include "platform/toolkit/control_settings.h"
#include "platform/toolkit/events.h"
#include "platform/toolkit/win32/window_binding.h"

namespace vexlan {

class TTimer : public TComponent, public WindowReceiver {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  TNotifyEvent OnTimer;

  void Loaded() override;

 protected:
  LRESULT ReceiveMessage(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  // Starts or stops the system's timer to match the properties.
  void UpdateTimer();

  unsigned interval_ = 1000;
  bool enabled_ = true;
  bool running_ = false;
  bool in_tick_ = false;
};

template <>
struct LayoutWriter<TimerSettings> {
  using Component = TTimer;
  static void Write(TTimer& timer, const TimerSettings& s, LayoutContext& context);
};

}  // namespace vexlan
