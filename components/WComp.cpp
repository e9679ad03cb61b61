#include "components/WComp.h"

namespace vexlan {

TWindowedComponent::TWindowedComponent(TComponent* owner) : TComponent(owner), platform_(Platform()) {}

TWindowedComponent::~TWindowedComponent() {
  if (HandleAllocated()) platform_.MessageWindows().DestroyMessageWindow(handle_);
}

void TWindowedComponent::HandleNeeded() {
  if (HandleAllocated()) return;
  // WndProc is virtual: a descendant's override is the one that receives.
  handle_ = platform_.MessageWindows().CreateMessageWindow([this](TMessage& message) { WndProc(message); });
}

WindowHandle TWindowedComponent::Handle() {
  HandleNeeded();
  return handle_;
}

void TWindowedComponent::WndProc(TMessage& message) { Dispatch(message); }

void TWindowedComponent::DefaultHandler(TMessage& message) {
  if (HandleAllocated()) {
    message.Result = platform_.MessageWindows().DefaultProcessing(handle_, message);
  } else {
    TComponent::DefaultHandler(message);
  }
}

}  // namespace vexlan
