// Tells the user what became of an action on another program's window, in
// the one set of words every form uses (winutil/action_outcome.h).
#pragma once

#include <string>

#include "platform/toolkit/win32/dialogs.h"
#include "winutil/action_outcome.h"

namespace vexlan {

// A message box, when there is anything to tell.
inline void TellOutcome(Action action, Outcome outcome) {
  const std::string text = OutcomeText(action, outcome);
  if (!text.empty()) ShowMessage(text);
}

}  // namespace vexlan
