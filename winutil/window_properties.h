// What the Window Properties dialog tells of one window: the raw values the
// system keeps for it, and the `Name: value` lines made of them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/toolkit/graphics.h"
#include "platform/window_services.h"

namespace vexlan {

// How a window's thread scales for DPI; Unknown where the system cannot
// tell (before Windows 10, 1607).
enum class DpiAwareness { Unknown, Unaware, System, PerMonitor, PerMonitorV2 };

// The values the lines are made of, as the system gives them. Texts are UTF-8.
struct WindowFacts {
  WindowHandle handle = 0;
  // False when the window was not there (or went while it was read): then
  // nothing else is meaningful.
  bool exists = false;
  std::string class_name;
  std::string caption;
  TRect rect;    // screen coordinates
  TRect client;  // client coordinates: left and top are 0
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  std::uint32_t class_style = 0;
  // A child window's control identifier; a top-level window has none.
  std::optional<std::int64_t> id;
  // The window a child window stands in, and the window that owns a
  // top-level one; 0 for none.
  WindowHandle parent = 0;
  WindowHandle owner = 0;
  std::uint32_t thread_id = 0;
  std::uint32_t process_id = 0;
  // The process's executable, in full; nothing when the system refused it.
  std::optional<std::string> image_path;
  bool visible = false;
  bool enabled = false;
  bool minimized = false;
  bool maximized = false;
  bool topmost = false;
  bool unicode = false;
  bool responding = false;
  int dpi = 0;
  DpiAwareness awareness = DpiAwareness::Unknown;
};

inline constexpr char kWindowGone[] = "The window no longer exists.";

// The lines, in their fixed order: Handle, Class, Caption, Rectangle,
// Client, Style, Extended style, Class style, ID, Parent, Owner, Thread,
// Process, Visible, Enabled, Minimized, Maximized, Topmost, Unicode,
// Responding, DPI, DPI awareness. For a window that does not exist: its
// Handle line and kWindowGone.
std::vector<std::string> WindowPropertyLines(const WindowFacts& facts);

}  // namespace vexlan
