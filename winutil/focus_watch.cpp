#include "winutil/focus_watch.h"

namespace vexlan {

void FocusWatch::Begin(ForegroundOwner at_action, bool answered, std::int64_t now_ms) {
  watching_ = at_action == ForegroundOwner::kVexlan;
  ends_at_ms_ = now_ms + (answered ? kAnsweredMs : kUnansweredMs);
}

FocusWatch::Verdict FocusWatch::Look(ForegroundOwner now, bool user_pressing, std::int64_t now_ms) {
  if (!watching_) return Verdict::kEnded;
  if (now_ms > ends_at_ms_) {
    watching_ = false;
    return Verdict::kEnded;
  }
  switch (now) {
    case ForegroundOwner::kNobody:
    case ForegroundOwner::kVexlan:
      return Verdict::kNothing;
    case ForegroundOwner::kTarget:
      if (!user_pressing) return Verdict::kTakeBack;
      break;  // the user's own click or switch
    case ForegroundOwner::kOther:
      break;
  }
  watching_ = false;
  return Verdict::kEnded;
}

}  // namespace vexlan
