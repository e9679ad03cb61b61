#include "tests/support/platform_contract.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace vexlan::testing {
namespace {

using Log = std::vector<unsigned>;
// A wait is over "at once" well before any time-out the rows give.
constexpr std::int64_t kAtOnceMs = 700;

// Calls `act` and returns how long it took on the driver's clock.
template <class Act>
std::int64_t Took(ContractDriver& d, Act act) {
  const std::int64_t start = d.NowMs();
  act();
  return d.NowMs() - start;
}

SendResult Send(ContractDriver& d, WindowHandle wnd, unsigned message, unsigned timeout_ms,
                std::intptr_t lparam = 0) {
  return d.Windows().SendWithTimeout(wnd, message, 0, lparam, timeout_ms);
}

// A window whose thread has ended goes with it, at once or soon after.
bool Gone(ContractDriver& d, WindowHandle wnd) {
  for (int i = 0; i < 100 && d.Windows().Exists(wnd); ++i) d.Sleep(50);
  return !d.Windows().Exists(wnd);
}

// A message its thread never took in time is withdrawn: it never runs.
// SMTO_ABORTIFHUNG: once the thread has taken no message for more than five
// seconds it is hung, and a send to it gives up at once (both with
// ERROR_TIMEOUT under Wine; Windows documents only the return).
void NotTakenInTimeIsWithdrawnAndAHungThreadGivenUpAtOnce(ContractDriver& d) {
  const WindowHandle t = d.MakeTarget("target");
  d.Stall(t, 8000);
  SendResult sent;
  EXPECT_LT(Took(d, [&] { sent = Send(d, t, kProbe, 500); }), 2000);
  EXPECT_EQ(sent.error, SendError::kTimedOut);
  d.Sleep(5600);
  EXPECT_LT(Took(d, [&] { sent = Send(d, t, kProbe, 2000); }), kAtOnceMs);
  EXPECT_EQ(sent.error, SendError::kTimedOut);
  d.Drain(t);
  EXPECT_EQ(d.Handled(t), Log{});
}

// A message its thread took runs to completion after the sender gave up.
void TakenRunsToCompletion(ContractDriver& d) {
  const WindowHandle t = d.MakeTarget("target");
  d.SlowHandler(t, kProbe, 2000);
  EXPECT_EQ(Send(d, t, kProbe, 500).error, SendError::kTimedOut);
  EXPECT_EQ(d.Handled(t), Log{}) << "still running";
  d.Drain(t);
  EXPECT_EQ(d.Handled(t), Log{kProbe});
}

// SMTO_BLOCK: what the target sends back while it handles ours waits until
// we take our queue, not inside our wait.
void WhileWaitingNothingOfOursRuns(ContractDriver& d) {
  const WindowHandle own = d.MakeOwnWindow(), t = d.MakeTarget("target");
  d.SendsBack(t, kProbe, own, kProbeAgain);
  EXPECT_EQ(Send(d, t, kProbe, 1000).error, SendError::kTimedOut);
  EXPECT_EQ(d.Handled(own), Log{});
  d.Pump();
  EXPECT_EQ(d.Handled(own), Log{kProbeAgain});
  d.Drain(t);
  EXPECT_EQ(d.Handled(t), Log{kProbe});
}

// Posted messages arrive once each, in order, whenever the thread takes
// them. SendNotifyMessage runs our own window's handler before it returns,
// and does not wait for another thread either.
void PostedAndSendNotifyWaitOnlyForOurOwnThread(ContractDriver& d) {
  const WindowHandle own = d.MakeOwnWindow(), t = d.MakeTarget("target");
  EXPECT_TRUE(d.Posting().SendNotify(own, kProbe, 0, 0));
  EXPECT_EQ(d.Handled(own), Log{kProbe});
  const auto post_both = [&] {
    EXPECT_TRUE(d.Posting().Post(t, kProbe, 0, 0));
    EXPECT_TRUE(d.Posting().Post(t, kProbeAgain, 0, 0));
  };
  post_both();
  d.Drain(t);
  EXPECT_EQ(d.Handled(t), (Log{kProbe, kProbeAgain}));
  d.Stall(t, 1500);
  EXPECT_LT(Took(d, post_both), kAtOnceMs);
  d.Drain(t);
  EXPECT_EQ(d.Handled(t), (Log{kProbe, kProbeAgain, kProbe, kProbeAgain}));
  d.Stall(t, 1500);
  EXPECT_LT(Took(d, [&] { EXPECT_TRUE(d.Posting().SendNotify(t, kProbeAgain, 0, 0)); }), kAtOnceMs);
  EXPECT_EQ(d.Handled(t).size(), 4u);
  d.Drain(t);
  EXPECT_EQ(d.Handled(t), (Log{kProbe, kProbeAgain, kProbe, kProbeAgain, kProbeAgain}));
}

// SWP_ASYNCWINDOWPOS hands the change to the window's thread.
void AsynchronousPositionWaitsForTheWindowsThread(ContractDriver& d) {
  const WindowHandle t = d.MakeTarget("target");
  d.Stall(t, 2000);
  const unsigned hide = kSwpNoSize | kSwpNoMove | kSwpHideWindow | kSwpAsyncWindowPos;
  EXPECT_LT(Took(d, [&] { EXPECT_TRUE(d.ShowHide().SetWindowPos(t, kHwndNoTopMost, hide)); }), kAtOnceMs);
  EXPECT_TRUE(d.Windows().IsVisible(t));
  d.Drain(t);
  EXPECT_FALSE(d.Windows().IsVisible(t));
}

// A receiver whose thread ends while we wait fails the send before its
// time-out: with ERROR_ACCESS_DENIED under Wine, which the fake follows
// (Windows does not document it).
void AReceiverThatEndsFailsTheSend(ContractDriver& d) {
  const WindowHandle t = d.MakeTarget("target");
  d.ExitsAfter(t, 1000);
  SendResult sent;
  EXPECT_LT(Took(d, [&] { sent = Send(d, t, kProbe, 4000); }), 3500);
  EXPECT_EQ(sent.error, SendError::kAccessDenied);
  EXPECT_TRUE(Gone(d, t));
}

// A window may answer WM_SETTEXT with FALSE and keep its text.
void SetTextAnsweredFalse(ContractDriver& d) {
  const WindowHandle t = d.MakeTarget("before");
  d.RefusesText(t);
  const std::u16string text = u"after";
  const SendResult sent = Send(d, t, msg::kSetText, 1000, reinterpret_cast<std::intptr_t>(text.c_str()));
  EXPECT_TRUE(sent);
  EXPECT_EQ(*sent, 0);
  EXPECT_EQ(d.Windows().WindowText(t, 100), u"before");
}

// A window that has gone takes nothing, and every call says so.
void AGoneWindowTakesNothing(ContractDriver& d) {
  const WindowHandle t = d.MakeTarget("target");
  d.ExitsAfter(t, 0);
  ASSERT_TRUE(Gone(d, t));
  EXPECT_EQ(Send(d, t, kProbe, 1000).error, SendError::kNoWindow);
  EXPECT_EQ(d.Posting().Post(t, kProbe, 0, 0).error, SendError::kNoWindow);
  EXPECT_EQ(d.Posting().SendNotify(t, kProbe, 0, 0).error, SendError::kNoWindow);
  EXPECT_EQ(d.ShowHide().SetWindowPos(t, kHwndNoTopMost, kSwpNoSize | kSwpNoMove | kSwpShowWindow).error,
            SendError::kNoWindow);
  EXPECT_EQ(d.Changes().EnableWindow(t, false).error, SendError::kNoWindow);
  EXPECT_EQ(d.Changes().SetStyleValue(t, kGwlStyle, 0).error, SendError::kNoWindow);
}

// What the system makes synchronous with the window's thread waits for it:
// EnableWindow sends WM_ENABLE, a style value WM_STYLECHANGED, and each
// change is made by the time the call returns.
void ChangesWaitForTheWindowsThread(ContractDriver& d) {
  const WindowHandle t = d.MakeTarget("target");
  const std::uint32_t style = d.Facts().Record(t)->style, disabled = style | 0x08000000, scroll = style | 0x00100000;
  WindowChangeServices& c = d.Changes();
  const std::pair<std::function<SendResult()>, std::uint32_t> changes[] = {  // and the style after it
      {[&] { return c.EnableWindow(t, false); }, disabled},
      {[&] { return c.EnableWindow(t, true); }, style},
      {[&] { return c.SetStyleValue(t, kGwlStyle, scroll); }, scroll},
      {[&] { return c.SetStyleValue(t, kGwlStyle, style); }, style},
  };
  for (const auto& change : changes) {
    d.Stall(t, 1500);
    EXPECT_GE(Took(d, [&] { EXPECT_TRUE(change.first()); }), 1000);
    EXPECT_EQ(d.Facts().Record(t)->style, change.second);
    EXPECT_EQ(d.Facts().Record(t)->enabled, change.second != disabled);
  }
  EXPECT_EQ(d.Handled(t), (Log{msg::kEnable, msg::kEnable, msg::kStyleChanged, msg::kStyleChanged}));
}

// SWP_ASYNCWINDOWPOS moves, sizes and pins on top once the window's thread
// takes it, not before; the screen rectangle follows the placement. So
// does SetForegroundWindow: Wine hands it to the thread, which the fake
// follows (Windows does not say whether it waits).
void PlacementAndForegroundWaitForTheWindowsThread(ContractDriver& d) {
  const WindowHandle t = d.MakeTarget("target");
  const WindowRect before = d.Facts().Record(t)->placement;
  const WindowPlace place{before.Left + 30, before.Top + 20, 150, 90};
  d.Stall(t, 1500);
  const unsigned flags = kSwpNoActivate | kSwpAsyncWindowPos;
  EXPECT_LT(Took(d, [&] {
              EXPECT_TRUE(d.Changes().PlaceWindow(t, kHwndTopMost, place, flags));
              EXPECT_TRUE(d.Changes().SetForegroundWindow(t));
            }),
            kAtOnceMs);
  EXPECT_EQ(d.Facts().Record(t)->placement, before);
  EXPECT_NE(d.Foreground(), t);
  d.Drain(t);
  EXPECT_EQ(d.Foreground(), t);
  const WindowRect after{place.Left, place.Top, place.Left + 150, place.Top + 90};
  EXPECT_EQ(d.Facts().Record(t)->placement, after);
  EXPECT_EQ(d.Facts().Record(t)->rect, after) << "a top-level window is placed on the screen";
  EXPECT_NE(d.Facts().Record(t)->ex_style & kWsExTopMost, 0u);
  EXPECT_TRUE(d.Changes().PlaceWindow(t, kHwndNoTopMost, {}, kSwpNoMove | kSwpNoSize | flags));
  d.Drain(t);
  EXPECT_EQ(d.Facts().Record(t)->ex_style & kWsExTopMost, 0u);
}

}  // namespace

const std::vector<ContractRow>& PlatformContract() {
  static const std::vector<ContractRow> rows = {
      {"NotTakenInTimeIsWithdrawnAndAHungThreadGivenUpAtOnce", NotTakenInTimeIsWithdrawnAndAHungThreadGivenUpAtOnce},
      {"TakenRunsToCompletion", TakenRunsToCompletion},
      {"WhileWaitingNothingOfOursRuns", WhileWaitingNothingOfOursRuns},
      {"PostedAndSendNotifyWaitOnlyForOurOwnThread", PostedAndSendNotifyWaitOnlyForOurOwnThread},
      {"AsynchronousPositionWaitsForTheWindowsThread", AsynchronousPositionWaitsForTheWindowsThread},
      {"AReceiverThatEndsFailsTheSend", AReceiverThatEndsFailsTheSend},
      {"SetTextAnsweredFalse", SetTextAnsweredFalse},
      {"AGoneWindowTakesNothing", AGoneWindowTakesNothing},
      {"ChangesWaitForTheWindowsThread", ChangesWaitForTheWindowsThread},
      {"PlacementAndForegroundWaitForTheWindowsThread", PlacementAndForegroundWaitForTheWindowsThread},
  };
  return rows;
}

}  // namespace vexlan::testing
