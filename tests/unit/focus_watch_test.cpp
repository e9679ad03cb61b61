#include "winutil/focus_watch.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexlan {
namespace {

using Owner = ForegroundOwner;
using Verdict = FocusWatch::Verdict;

struct Look {
  Owner owner;
  bool pressing;
  std::int64_t at_ms;
  Verdict expected;
};

TEST(FocusWatchTest, TakesBackOnlyWhatTheActionTook) {
  struct Case {
    const char* what;
    Owner at_action;
    bool answered;
    std::vector<Look> looks;
  };
  constexpr std::int64_t kAnswered = FocusWatch::kAnsweredMs, kUnanswered = FocusWatch::kUnansweredMs;
  const Case cases[] = {
      {"the target takes it, again and again until the watch runs out", Owner::kVexlan, true,
       {{Owner::kTarget, false, 10, Verdict::kTakeBack},
        {Owner::kVexlan, false, 20, Verdict::kNothing},
        {Owner::kTarget, false, kAnswered, Verdict::kTakeBack},
        {Owner::kTarget, false, kAnswered + 1, Verdict::kEnded},
        {Owner::kTarget, false, kAnswered + 2, Verdict::kEnded}}},
      {"nobody between two activations is no verdict", Owner::kVexlan, true,
       {{Owner::kNobody, false, 5, Verdict::kNothing}, {Owner::kTarget, false, 6, Verdict::kTakeBack}}},
      {"a target that did not answer takes the click much later", Owner::kVexlan, false,
       {{Owner::kVexlan, false, kAnswered + 1, Verdict::kNothing},
        {Owner::kTarget, false, kUnanswered, Verdict::kTakeBack},
        {Owner::kTarget, false, kUnanswered + 1, Verdict::kEnded}}},
      {"the user goes to another program: it stays theirs, later too", Owner::kVexlan, true,
       {{Owner::kOther, false, 10, Verdict::kEnded}, {Owner::kTarget, false, 20, Verdict::kEnded}}},
      {"the user clicks or switches to the target themselves", Owner::kVexlan, false,
       {{Owner::kTarget, true, 10, Verdict::kEnded}, {Owner::kTarget, false, 20, Verdict::kEnded}}},
      {"a press elsewhere while Vexlan keeps it changes nothing", Owner::kVexlan, true,
       {{Owner::kVexlan, true, 10, Verdict::kNothing}, {Owner::kTarget, false, 20, Verdict::kTakeBack}}},
      {"the keyboard was not Vexlan's when it acted", Owner::kOther, true,
       {{Owner::kTarget, false, 10, Verdict::kEnded}}},
      {"nor when nobody had it", Owner::kNobody, true, {{Owner::kTarget, false, 10, Verdict::kEnded}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FocusWatch watch;
    EXPECT_EQ(watch.Look(Owner::kTarget, false, 0), Verdict::kEnded) << "before any action";
    watch.Begin(c.at_action, c.answered, 0);
    EXPECT_EQ(watch.EndsAtMs(), c.answered ? kAnswered : kUnanswered);
    for (const Look& look : c.looks) {
      SCOPED_TRACE(look.at_ms);
      EXPECT_EQ(watch.Look(look.owner, look.pressing, look.at_ms), look.expected);
      EXPECT_EQ(watch.Watching(), look.expected != Verdict::kEnded);
    }
  }
}

// A new action starts a new watch, whatever became of the last one.
TEST(FocusWatchTest, EachActionStartsAfresh) {
  FocusWatch watch;
  watch.Begin(Owner::kVexlan, true, 0);
  EXPECT_EQ(watch.Look(Owner::kOther, false, 5), Verdict::kEnded);
  watch.Begin(Owner::kVexlan, true, 100);
  EXPECT_EQ(watch.Look(Owner::kTarget, false, 100 + FocusWatch::kAnsweredMs), Verdict::kTakeBack);
}

}  // namespace
}  // namespace vexlan
