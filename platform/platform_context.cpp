#include "platform/platform_context.h"

namespace vexlan {

namespace {
const PlatformContext* g_installed = nullptr;
}  // namespace

const PlatformContext& Platform() {
  if (!g_installed) throw EPlatformMissing("No platform context is installed");
  return *g_installed;
}

ScopedPlatform::ScopedPlatform(const PlatformContext& context) : context_(context), previous_(g_installed) {
  g_installed = &context_;
}

ScopedPlatform::~ScopedPlatform() { g_installed = previous_; }

}  // namespace vexlan
