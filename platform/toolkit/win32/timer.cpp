#include "platform/toolkit/win32/timer.h"

namespace vexlan {

namespace {
constexpr UINT_PTR kTimerId = 1;
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() { DestroyBoundWindow(); }

void TTimer::SetInterval(unsigned ms) {
  interval_ = ms;
  UpdateTimer();
}

void TTimer::SetEnabled(bool on) {
  enabled_ = on;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (Loading()) return;
  if (running_) {
    ::KillTimer(BoundWindow(), kTimerId);
    running_ = false;
  }
  if (!enabled_ || interval_ == 0) return;
  if (!BoundWindow()) {
    // A message-only window: it receives WM_TIMER and nothing else sees it.
    CreateBoundWindow(L"TTimerWindow", 0, nullptr, 0, 0, RECT{}, HWND_MESSAGE, 0, L"");
  }
  running_ = ::SetTimer(BoundWindow(), kTimerId, interval_, nullptr) != 0;
}

LRESULT TTimer::ReceiveMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg != WM_TIMER || wparam != kTimerId) return DefaultWindowProc(msg, wparam, lparam);
  // A tick queued before the timer was stopped is dropped. A handler that
  // runs a modal loop (a message box) would let the next tick in; that tick
  // waits for the next period instead.
  if (!enabled_ || in_tick_ || !OnTimer) return 0;
  in_tick_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{in_tick_};
  OnTimer(this);
  return 0;
}

void LayoutWriter<TimerSettings>::Write(TTimer& timer, const TimerSettings& s, LayoutContext& context) {
  timer.SetInterval(s.Interval);
  timer.SetEnabled(s.Enabled);
  timer.OnTimer = context.Bind<TNotifyEvent>(s.OnTimer);
}

}  // namespace vexlan
