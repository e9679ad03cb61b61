#include "winutil/window_tree.h"

#include <unordered_set>

#include "platform/toolkit/sysutils.h"
#include "winutil/ExtCntrlsUtils.h"

namespace vexlan {

std::string NodeCaption(int number, std::string_view caption, std::string_view class_name, WindowHandle wnd) {
  std::string text = std::to_string(number);
  text.reserve(text.size() + caption.size() + class_name.size() + 24);
  text += ": \"";
  text += caption;
  text += "\" [";
  text += class_name;
  text += "] (";
  text += std::to_string(wnd);
  text += ')';
  return text;
}

std::optional<WindowHandle> HandleFromNodeCaption(std::string_view text) {
  if (text.empty() || text.back() != ')') return std::nullopt;
  const auto open = text.rfind('(');
  if (open == std::string_view::npos) return std::nullopt;
  try {
    return StrToInt(text.substr(open + 1, text.size() - open - 2));
  } catch (const EConvertError&) {
    return std::nullopt;
  }
}

std::vector<WindowRow> WalkWindows(WindowServices& ws, WindowHandle first, bool only_shown) {
  // One frame per open sibling run; an explicit stack, because windows can
  // nest deeper than the thread's stack would like.
  struct Run {
    WindowHandle wnd;  // the run's current window
    int parent;        // row its listed windows hang under
    int count;         // listed windows so far
    bool descended;    // the current window's children have been walked
  };
  std::vector<WindowRow> rows;
  std::unordered_set<WindowHandle> visited;
  std::vector<Run> runs{{first, -1, 0, false}};

  while (!runs.empty()) {
    const std::size_t top = runs.size() - 1;
    if (runs[top].descended) {
      runs[top].wnd = GetNextSibling(ws, runs[top].wnd);
      runs[top].descended = false;
      continue;
    }
    const WindowHandle wnd = runs[top].wnd;
    if (wnd == 0 || !visited.insert(wnd).second) {
      runs.pop_back();
      continue;
    }
    runs[top].descended = true;
    // Every descendant of a window that is not visible is itself not visible,
    // so with the filter on an unlisted window's subtree is not walked at all.
    if (only_shown && !ws.IsVisible(wnd)) continue;

    const int number = ++runs[top].count;
    rows.push_back({wnd, runs[top].parent, number,
                    NodeCaption(number, GetWindowCaption(ws, wnd), GetWindowClass(ws, wnd), wnd)});
    if (const WindowHandle child = GetFirstChild(ws, wnd)) {
      runs.push_back({child, static_cast<int>(rows.size() - 1), 0, false});
    }
  }
  return rows;
}

}  // namespace vexlan
