// What the Window Properties dialog tells of one window: the raw values the
// system keeps for it, read through the platform without sending the window
// anything, and the `Name: value` lines made of them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform_services.h"
#include "platform/window_services.h"

namespace vexlan {

struct WindowFacts {
  WindowHandle handle = 0;
  // False when the window was not there (or went while it was read): then
  // nothing else is meaningful.
  bool exists = false;
  WindowRecord window;
  // The process's executable, in full; nothing when the system refused it.
  std::optional<std::string> image_path;
  // The window's process's rights, and Vexlan's own.
  ProcessRights rights, own_rights;
};

// Reads `wnd` through `windows` (whether it is a window, the rights) and
// `facts` (the record and the executable). A handle that names no window,
// or a window that goes while it is read, gives facts with `exists` false.
WindowFacts ReadWindowFacts(WindowServices& windows, WindowFactsServices& facts, WindowHandle wnd);

inline constexpr char kWindowGone[] = "The window no longer exists.";

// The name of an integrity level (a mandatory label's RID): Low below
// medium (untrusted included), Medium, High, System from system on;
// "unknown" for nothing.
const char* IntegrityText(std::optional<std::uint32_t> integrity);

// The lines, in their fixed order: Handle, Class, Caption, Rectangle,
// Client, Style, Extended style, Class style, ID, Parent, Owner, Thread,
// Process, Integrity, Elevated, Visible, Enabled, Minimized, Maximized,
// Topmost, Unicode, Responding, DPI, DPI awareness. Integrity and Elevated
// give Vexlan's own in parentheses. A control character in a caption, class
// or path is written as its Control Pictures symbol, so each line is one
// line. For a window that does not exist: its Handle line and kWindowGone.
std::vector<std::string> WindowPropertyLines(const WindowFacts& facts);

}  // namespace vexlan
