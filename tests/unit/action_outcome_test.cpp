#include "winutil/action_outcome.h"

#include <gtest/gtest.h>

namespace vexlan {
namespace {

// The words differ by action only where the action gives the outcome another meaning.
TEST(OutcomeText, TellsEachFailureForWhatItIs) {
  struct Case {
    Action action;
    Outcome outcome;
    const char* text;
  };
  const Case cases[] = {
      {Action::kClick, Outcome::kDone, ""},
      {Action::kReadText, Outcome::kNotAnswered, "The window did not answer in time."},
      {Action::kClick, Outcome::kNotAnswered,
       "The window did not answer in time. The click will reach it when it answers."},
      {Action::kWriteText, Outcome::kRefused, "Windows refused the message."},
      {Action::kClose, Outcome::kRefusedHigherRights,
       "Windows refused: the window belongs to a program running with higher rights. Run Vexlan as administrator "
       "to act on it."},
      {Action::kReadText, Outcome::kNoWindow, ""},
      {Action::kShowOrHide, Outcome::kNoWindow, "The window no longer exists."},
      {Action::kWriteText, Outcome::kNotTaken, "The window did not take the text."},
      {Action::kShowOrHide, Outcome::kOwnWindow, "Vexlan does not show or hide its own windows."},
      {Action::kChange, Outcome::kNotAnswered,
       "The window did not answer in time. The change will take effect when it answers."},
      {Action::kChange, Outcome::kOwnWindow, "Vexlan does not change its own windows."},
      {Action::kChange, Outcome::kStillWaiting,
       "Vexlan is still waiting for windows to answer earlier changes. Nothing was changed."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(OutcomeText(c.action, c.outcome), c.text);
  }
}

}  // namespace
}  // namespace vexlan
