// Every Wine test runs with the program's own platform installed, as
// vexlan.exe runs; a test that wants fakes installs them over it.
#include <gtest/gtest.h>

#include <optional>

#include "platform/win32/win32_platform.h"

namespace vexlan {
namespace {

class SystemPlatformEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { platform_.emplace(SystemPlatform()); }
  void TearDown() override { platform_.reset(); }

 private:
  std::optional<ScopedPlatform> platform_;
};

[[maybe_unused]] const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new SystemPlatformEnvironment);

}  // namespace
}  // namespace vexlan
