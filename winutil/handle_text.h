// Window handles as users type them.
#pragma once

#include <string_view>

#include "platform/window_services.h"

namespace vexlan {

// The handle a user typed: an optional sign and decimal digits within the
// signed 32-bit range, nothing else, exactly as the tree shows handles.
// Anything else throws EConvertError with a message that quotes what was
// typed (a long text shortened) and says how to type a handle.
WindowHandle HandleFromText(std::string_view text);

}  // namespace vexlan
