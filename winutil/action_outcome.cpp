#include "winutil/action_outcome.h"

namespace vexlan {

std::string OutcomeText(Action action, Outcome outcome) {
  switch (outcome) {
    case Outcome::kDone:
      return {};
    case Outcome::kNotAnswered:
      if (action == Action::kClick) {
        return "The window did not answer in time. The click will reach it when it answers.";
      }
      if (action == Action::kChange) {
        return "The window did not answer in time. The change will take effect when it answers.";
      }
      return "The window did not answer in time.";
    case Outcome::kRefused:
      return "Windows refused the message.";
    case Outcome::kRefusedHigherRights:
      return "Windows refused: the window belongs to a program running with higher rights. Run Vexlan as "
             "administrator to act on it.";
    case Outcome::kNoWindow:
      return action == Action::kReadText ? std::string() : "The window no longer exists.";
    case Outcome::kNotTaken:
      return action == Action::kWriteText ? "The window did not take the text." : "The window did not take the change.";
    case Outcome::kOwnWindow:
      if (action == Action::kShowOrHide) return "Vexlan does not show or hide its own windows.";
      if (action == Action::kChange) return "Vexlan does not change its own windows.";
      return "Vexlan does not act on its own windows this way.";
    case Outcome::kStillWaiting:
      return "Vexlan is still waiting for windows to answer earlier changes. Nothing was changed.";
  }
  return {};
}

}  // namespace vexlan
