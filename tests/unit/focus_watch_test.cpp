#include "winutil/focus_watch.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexlan {
namespace {

using Owner = ForegroundOwner;
using Verdict = FocusWatch::Verdict;

TEST(FocusWatchTest, TakesBackOnlyWhatTheActionTook) {
  struct Look { Owner owner; bool pressing; std::int64_t at_ms; Verdict expected; };
  constexpr std::int64_t kShort = FocusWatch::kAnsweredMs, kLong = FocusWatch::kUnansweredMs;
  const struct { const char* what; Owner at_action; bool answered; std::vector<Look> looks; } cases[] = {
      {"the target takes it, again and again until the watch runs out", Owner::kVexlan, true,
       {{Owner::kTarget, false, 10, Verdict::kTakeBack}, {Owner::kNobody, false, 20, Verdict::kNothing},
        {Owner::kTarget, false, kShort, Verdict::kTakeBack}, {Owner::kTarget, false, kShort + 1, Verdict::kEnded},
        {Owner::kTarget, false, kShort + 2, Verdict::kEnded}}},
      {"a target that did not answer takes the click much later", Owner::kVexlan, false,
       {{Owner::kVexlan, true, kShort + 1, Verdict::kNothing}, {Owner::kTarget, false, kLong, Verdict::kTakeBack},
        {Owner::kTarget, false, kLong + 1, Verdict::kEnded}}},
      {"the user goes to another program: it stays theirs, later too", Owner::kVexlan, true,
       {{Owner::kOther, false, 10, Verdict::kEnded}, {Owner::kTarget, false, 20, Verdict::kEnded}}},
      {"the user clicks or switches to the target themselves", Owner::kVexlan, false,
       {{Owner::kTarget, true, 10, Verdict::kEnded}, {Owner::kTarget, false, 20, Verdict::kEnded}}},
      {"the keyboard was not Vexlan's", Owner::kOther, true, {{Owner::kTarget, false, 10, Verdict::kEnded}}},
  };
  FocusWatch watch;  // one for all: each action starts afresh
  EXPECT_EQ(watch.Look(Owner::kTarget, false, 0), Verdict::kEnded) << "before any action";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    watch.Begin(c.at_action, c.answered, 0);
    EXPECT_EQ(watch.EndsAtMs(), c.answered ? kShort : kLong);
    for (const Look& look : c.looks) {
      SCOPED_TRACE(look.at_ms);
      EXPECT_EQ(watch.Look(look.owner, look.pressing, look.at_ms), look.expected);
      EXPECT_EQ(watch.Watching(), look.expected != Verdict::kEnded);
    }
  }
}

}  // namespace
}  // namespace vexlan
