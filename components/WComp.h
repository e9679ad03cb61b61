// TWindowedComponent: a non-visual component that owns one hidden window, so
// that messages the system addresses to a window handle reach a component.
#pragma once

#include <string>

#include "platform/platform_context.h"
#include "platform/toolkit/classes.h"

namespace vexlan {

// The hidden window exists from the first read of Handle (never before, not
// even while loading) until the component is destroyed; it is never made
// again. Each of its messages goes to WndProc, which routes it by number to
// the handler that the component's class or its nearest ancestor declares
// (DispatchByNumber); a message nobody handles gets the window's default
// processing.
//
// The component keeps the platform context installed when it was created.
//
// Destruction: this class's destructor destroys the window, when a
// descendant's own parts are gone already, so that window's WM_DESTROY takes
// this class's route (to the default processing) and never reaches a
// descendant's handlers or WndProc override. A descendant acts on its
// window's end in its own destructor.
class TWindowedComponent : public TComponent {
 public:
  explicit TWindowedComponent(TComponent* owner);
  ~TWindowedComponent() override;

  std::string ClassName() const override { return "TWindowedComponent"; }

  bool HandleAllocated() const { return handle_ != 0; }
  // Makes the window if there is none yet. When it cannot be made the handle
  // stays 0 and the next call tries again.
  void HandleNeeded();
  // The window, made now if need be; 0 when it cannot be made.
  WindowHandle Handle();

  // Every message of the window comes here first.
  virtual void WndProc(TMessage& message);
  // The window's default processing, whose result goes into the record;
  // without a window the record is left as it is.
  void DefaultHandler(TMessage& message) override;

 protected:
  const PlatformContext& Services() const { return platform_; }

 private:
  PlatformContext platform_;
  WindowHandle handle_ = 0;
};

}  // namespace vexlan
