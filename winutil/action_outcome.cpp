#include "winutil/action_outcome.h"

namespace vexlan {

std::string OutcomeText(Action action, Outcome outcome) {
  switch (outcome) {
    case Outcome::kDone:
      return {};
    case Outcome::kNotAnswered:
      return action == Action::kClick
                 ? "The window did not answer in time. The click will reach it when it answers."
                 : "The window did not answer in time.";
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
      return action == Action::kShowOrHide ? "Vexlan does not show or hide its own windows."
                                           : "Vexlan does not act on its own windows this way.";
  }
  return {};
}

}  // namespace vexlan
