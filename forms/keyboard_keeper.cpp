#include "forms/keyboard_keeper.h"

#include "platform/clock.h"
#include "platform/win32/win32_window_services.h"

namespace vexlan {

TKeyboardKeeper::TKeyboardKeeper() {
  look_timer_.SetEnabled(false);
  look_timer_.SetInterval(kLookMs);
  look_timer_.OnTimer = [this](TObject*) { Look(); };
}

TKeyboardKeeper::~TKeyboardKeeper() { Stop(); }

ForegroundOwner TKeyboardKeeper::OwnerOf(HWND wnd) const {
  DWORD process = 0;
  if (!wnd || wnd == ::GetDesktopWindow() || !::GetWindowThreadProcessId(wnd, &process)) {
    // Nobody in front: the target's thread has an active window only if
    // this action gave it one, since Vexlan's activation took it away.
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const bool active = target_thread_ && ::GetGUIThreadInfo(target_thread_, &info) && info.hwndActive;
    return active ? ForegroundOwner::kTarget : ForegroundOwner::kNobody;
  }
  if (process == ::GetCurrentProcessId()) return ForegroundOwner::kVexlan;
  return process == target_process_ ? ForegroundOwner::kTarget : ForegroundOwner::kOther;
}

Outcome TKeyboardKeeper::Act(WindowHandle target, const std::function<Outcome()>& action) {
  Stop();  // a new action: the last one's watch is over
  ours_ = ::GetForegroundWindow();
  target_process_ = 0;
  target_thread_ = ::GetWindowThreadProcessId(ToHwnd(target), &target_process_);
  const ForegroundOwner at_action = OwnerOf(ours_);
  const Outcome outcome = action();
  if (target_process_ == ::GetCurrentProcessId() ||
      (outcome != Outcome::kDone && outcome != Outcome::kNotAnswered)) {
    return outcome;
  }
  watch_.Begin(at_action, outcome == Outcome::kDone, SteadyClock().NowMs());
  if (!watch_.Watching()) return outcome;
  look_timer_.SetEnabled(true);
  Look();
  return outcome;
}

void TKeyboardKeeper::Look() {
  const bool pressing = ::GetAsyncKeyState(VK_LBUTTON) < 0 || ::GetAsyncKeyState(VK_RBUTTON) < 0 ||
                        ::GetAsyncKeyState(VK_MBUTTON) < 0 || ::GetAsyncKeyState(VK_MENU) < 0;
  const auto v = watch_.Look(OwnerOf(::GetForegroundWindow()), pressing, SteadyClock().NowMs());
  switch (v) {
    case FocusWatch::Verdict::kNothing:
      break;
    case FocusWatch::Verdict::kTakeBack:
      if (::IsWindow(ours_) && ::IsWindowVisible(ours_)) ::SetForegroundWindow(ours_);
      break;
    case FocusWatch::Verdict::kEnded:
      Stop();
      break;
  }
}

void TKeyboardKeeper::Stop() { look_timer_.SetEnabled(false); }

}  // namespace vexlan
