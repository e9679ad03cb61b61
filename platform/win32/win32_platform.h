// The platform context over user32: what the program installs at start-up
// and the Wine tests install around real components.
#pragma once

#include <windows.h>

#include "platform/platform_context.h"

namespace vexlan {

// Every service, each one instance for the whole program.
const PlatformContext& SystemPlatform();

}  // namespace vexlan
