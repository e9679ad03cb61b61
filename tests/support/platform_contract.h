// What the program relies on from the platform when it sends, posts and
// positions: one table of rows, each run with the same assertions against
// the fakes natively (tests/unit/platform_contract_test.cpp) and against
// real windows of a fixture process's threads under Wine
// (tests/win32/platform_contract_win32_test.cpp). A fake that passes only
// its own side is a fake of our belief, not of the platform. Where Wine and
// Windows' documentation part, the row says which one the fake follows.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "platform/platform_services.h"
#include "platform/window_services.h"

namespace vexlan::testing {

// Messages the rows send (WM_APP + 0x100 and on); every target logs them.
inline constexpr unsigned kProbe = 0x8100;
inline constexpr unsigned kProbeAgain = 0x8101;

// The platform one side gives the rows, and the windows it makes for them.
class ContractDriver {
 public:
  virtual ~ContractDriver() = default;

  virtual WindowServices& Windows() = 0;
  virtual MessagePosting& Posting() = 0;
  virtual ShowHideServices& ShowHide() = 0;
  virtual WindowChangeServices& Changes() = 0;
  virtual WindowFactsServices& Facts() = 0;
  // The window in front that has the user's input.
  virtual WindowHandle Foreground() = 0;
  // Milliseconds on the clock the platform's waits take.
  virtual std::int64_t NowMs() = 0;

  // A visible top-level window captioned `caption`, of a thread of its own
  // in another process, which logs each message of the rows, WM_SETTEXT,
  // WM_ENABLE and WM_STYLECHANGED, when its handler returns.
  virtual WindowHandle MakeTarget(const std::string& caption) = 0;
  // A window of the caller's own thread that logs the same way.
  virtual WindowHandle MakeOwnWindow() = 0;
  // From now, the target's thread takes no message for `ms`.
  virtual void Stall(WindowHandle target, unsigned ms) = 0;
  // The target's handler of `message` runs `ms` before it returns.
  virtual void SlowHandler(WindowHandle target, unsigned message, unsigned ms) = 0;
  // While it handles `message`, the target sends `back` to `own` (a window
  // of the caller's thread) and waits for it.
  virtual void SendsBack(WindowHandle target, unsigned message, WindowHandle own, unsigned back) = 0;
  // The target's thread takes no message for `ms`, then ends; its windows
  // go with it.
  virtual void ExitsAfter(WindowHandle target, unsigned ms) = 0;
  // The target answers WM_SETTEXT with FALSE and keeps its text.
  virtual void RefusesText(WindowHandle target) = 0;

  // `ms` pass; the caller's thread takes no message meanwhile.
  virtual void Sleep(unsigned ms) = 0;
  // The caller's thread takes what was sent and posted to it.
  virtual void Pump() = 0;
  // Waits until the target's thread has taken all that was sent or posted
  // to it so far (and any stall is over).
  virtual void Drain(WindowHandle target) = 0;
  // The messages `wnd` has logged, oldest first.
  virtual std::vector<unsigned> Handled(WindowHandle wnd) = 0;
};

struct ContractRow {
  const char* name;  // letters and digits: a test's name
  void (*run)(ContractDriver&);
  // How GoogleTest names the row in a failure.
  friend void PrintTo(const ContractRow& row, std::ostream* out) { *out << row.name; }
};

const std::vector<ContractRow>& PlatformContract();

// Every row a test of its own, named after it, each with a fresh `Driver`.
#define VEXLAN_PLATFORM_CONTRACT_TESTS(Suite, Driver)                                                            \
  class Suite : public ::testing::TestWithParam<::vexlan::testing::ContractRow> {};                             \
  TEST_P(Suite, Holds) {                                                                                        \
    Driver driver;                                                                                              \
    GetParam().run(driver);                                                                                     \
  }                                                                                                             \
  INSTANTIATE_TEST_SUITE_P(Rows, Suite, ::testing::ValuesIn(::vexlan::testing::PlatformContract()),             \
                           [](const ::testing::TestParamInfo<::vexlan::testing::ContractRow>& row) {            \
                             return std::string(row.param.name);                                                \
                           })

}  // namespace vexlan::testing
