// One window message as our own windows' handlers receive it.
#pragma once

#include <cstdint>

namespace vexlan {

// Number, wParam, lParam, and the result: what the window procedure returns
// to the system. The toolkit's TMessage is this record.
struct WindowMessage {
  std::uint32_t Msg = 0;
  std::intptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};

}  // namespace vexlan
