#include "msglog/watch_failures.h"

#include <gtest/gtest.h>

namespace vexlan {
namespace {

TEST(WatchFailures, RouteByBitnessAndWordsForEveryFailure) {
  EXPECT_EQ(ChooseHookRoute(64, 64), HookRoute::Own);
  EXPECT_EQ(ChooseHookRoute(32, 32), HookRoute::Own);
  EXPECT_EQ(ChooseHookRoute(64, 32), HookRoute::Helper32);
  EXPECT_EQ(ChooseHookRoute(32, 64), HookRoute::None);

  struct Case {
    WatchError error;
    const char* expected;
  };
  const Case cases[] = {
      {HookRefusal(5), "Windows refused: the window belongs to a program running with higher rights. Run Vexlan as "
                       "administrator to watch it."},
      {HookRefusal(1400), "The window no longer exists."},
      {HookRefusal(1444), "The window no longer exists."},
      {HookRefusal(87, "The parameter is incorrect."),
       "Windows refused to let Vexlan watch the window: The parameter is incorrect. (error 87)"},
      {HookRefusal(1428), "Windows refused to let Vexlan watch the window (error 1428)."},
      {{WatchFailure::HookFileDiffers, 0, "C:\\V\\hook.dll"},
       "The file \"C:\\V\\hook.dll\" is not the message hook Vexlan carries, and Vexlan could not replace it. "
       "Nothing was loaded into the program."},
      {{WatchFailure::HookFileUnwritable, 5, "C:\\V\\hook.dll"},
       "Vexlan could not write its message hook to \"C:\\V\\hook.dll\" (error 5)."},
      {{WatchFailure::NoHelper32, 0},
       "The window belongs to a 32-bit program, and this Vexlan does not carry the 32-bit helper that watching it "
       "needs."},
      {{WatchFailure::Target64, 0}, "The window belongs to a 64-bit program: use the 64-bit Vexlan to watch it."},
      {{WatchFailure::NoFreeSlot, 0}, "The window's thread is watched by 16 logs already. Close one of them to watch it."},
      {{WatchFailure::HelperFailed, 2}, "The 32-bit helper that watches 32-bit programs did not start (error 2)."},
      {{WatchFailure::RingFailed, 8}, "Vexlan could not make the memory its log is written to (error 8)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(WatchFailureText(c.error), c.expected);
  }
}

}  // namespace
}  // namespace vexlan
