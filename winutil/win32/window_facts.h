// Reads what the system keeps of a window for the Window Properties dialog.
#pragma once

#include "platform/window_services.h"
#include "winutil/window_properties.h"

namespace vexlan {

// Every value comes from a call that reads what the system keeps and never
// sends the window a message nor waits for its thread, so a hung window is
// read at once. The caption is the system's copy (InternalGetWindowText,
// whatever process the window is in); the parent is the window a child
// window stands in (GetAncestor, GA_PARENT), the owner GetWindow's
// GW_OWNER. A window that is not there, or goes while it is read, gives
// facts with `exists` false.
WindowFacts ReadWindowFacts(WindowHandle wnd);

}  // namespace vexlan
