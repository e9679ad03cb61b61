#include "tests/support/fake_control.h"

#include "components/simple_panel.h"

namespace vexlan::testing {

void FakeControl::Realign() {
  ++Realigns;
  const TBounds client = ClientRect();
  TRect rect{0, 0, client.Width, client.Height};
  AlignControls(Children, rect);
}

void FakeControl::AlignControls(std::span<AlignedChild> children, TRect& Rect) {
  AlignChildren({Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top}, children);
}

bool FakeControl::DispatchByNumber(TMessage& message) {
  if (message.Msg != msg::kSize && message.Msg != msg::kWindowPosChanged) return false;
  ToolkitHandled.push_back(message.Msg);
  return true;
}

}  // namespace vexlan::testing
