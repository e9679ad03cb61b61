#include "winutil/window_actions.h"

#include <gtest/gtest.h>

#include "tests/support/fake_desktop.h"

namespace vexlan {
namespace {

using testing::FakeDesktop;
using testing::LoggedWindowPos;

// In place, never on top; a target that does not answer is not waited for.
TEST(ShowOrHideWindow, SetsPositionFlagsAndGoesAsynchronousForAHungTarget) {
  struct Case {
    const char* what;
    bool show, hung;
    unsigned flags;
  };
  const Case cases[] = {
      {"show", true, false, 0x0043},
      {"hide", false, false, 0x0083},
      {"show a hung window", true, true, 0x4043},
      {"hide a hung window", false, true, 0x4083},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeDesktop d;
    const WindowHandle w = d.Add(0, "target", "Frame", !c.show);
    d.At(w).hung = c.hung;
    ShowOrHideWindow(d, d, w, c.show);
    EXPECT_EQ(d.At(w).positioned, (std::vector<LoggedWindowPos>{{-2, c.flags}}));
    EXPECT_EQ(d.At(w).visible, c.show);
    ASSERT_EQ(d.At(w).attempted.size(), 1u) << "one WM_NULL asks whether it answers";
    EXPECT_EQ(d.At(w).attempted[0].message, msg::kNull);
  }
}

}  // namespace
}  // namespace vexlan
