#include "platform/platform_context.h"

#include <gtest/gtest.h>

#include "tests/support/fake_hot_keys.h"
#include "tests/support/fake_message_windows.h"

namespace vexlan {
namespace {

using testing::FakeHotKeyTable;
using testing::FakeMessageWindows;

TEST(PlatformContext, InstallersNestAndPutBackWhatWasThere) {
  EXPECT_THROW(Platform(), EPlatformMissing);
  FakeMessageWindows windows, other_windows;
  FakeHotKeyTable hot_keys;
  {
    ScopedPlatform outer(PlatformContext{}.With(windows));
    EXPECT_EQ(&Platform().MessageWindows(), &windows);
    EXPECT_THROW(Platform().HotKeys(), EPlatformMissing);
    {
      ScopedPlatform inner(Platform().With(hot_keys).With(other_windows));
      EXPECT_EQ(&Platform().MessageWindows(), &other_windows);
      EXPECT_EQ(&Platform().HotKeys(), &hot_keys);
    }
    EXPECT_EQ(&Platform().MessageWindows(), &windows);
    EXPECT_THROW(Platform().HotKeys(), EPlatformMissing);
  }
  EXPECT_THROW(Platform(), EPlatformMissing);
}

}  // namespace
}  // namespace vexlan
