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

WindowRow MakeWindowRow(WindowHandle wnd, int parent, int number, std::string_view caption,
                        std::string_view class_name) {
  WindowRow row{wnd, parent, number, NodeCaption(number, caption, class_name, wnd)};
  // Pieces 1 and 2 (the number, then colon, blank, quote) come first.
  row.caption_at = static_cast<std::uint32_t>(std::to_string(number).size() + 3);
  row.caption_size = static_cast<std::uint32_t>(caption.size());
  row.class_at = row.caption_at + row.caption_size + 3;  // quote, blank, bracket
  row.class_size = static_cast<std::uint32_t>(class_name.size());
  return row;
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
  // One frame per open sibling run, read whole before any of its windows is
  // descended into: a window that closes or is restacked while its subtree
  // is walked cannot take its later siblings with it. An explicit stack,
  // because windows can nest deeper than the thread's stack would like.
  struct Run {
    std::vector<WindowHandle> windows;
    std::size_t next = 0;  // the window whose turn comes next
    int parent = -1;       // row its listed windows hang under
    int count = 0;         // listed windows so far
  };
  std::vector<WindowRow> rows;
  std::unordered_set<WindowHandle> met;
  // A next-sibling chain can cycle: a window met before ends the run.
  const auto read_run = [&](WindowHandle wnd, int parent) {
    Run run;
    run.parent = parent;
    for (; wnd != 0 && met.insert(wnd).second; wnd = GetNextSibling(ws, wnd)) run.windows.push_back(wnd);
    return run;
  };

  std::vector<Run> runs;
  runs.push_back(read_run(first, -1));
  while (!runs.empty()) {
    Run& run = runs.back();
    if (run.next == run.windows.size()) {
      runs.pop_back();
      continue;
    }
    const WindowHandle wnd = run.windows[run.next++];
    // Every descendant of a window that is not visible is itself not visible,
    // so with the filter on an unlisted window's subtree is not walked at all.
    if (only_shown && !ws.IsVisible(wnd)) continue;
    // Every window has a class name; none means the window has gone since
    // its run was read, and it is left out.
    std::string class_name = GetWindowClass(ws, wnd);
    if (class_name.empty()) continue;

    const int number = ++run.count;
    rows.push_back(MakeWindowRow(wnd, run.parent, number, GetWindowCaption(ws, wnd), class_name));
    if (const WindowHandle child = GetFirstChild(ws, wnd)) {
      runs.push_back(read_run(child, static_cast<int>(rows.size() - 1)));
    }
  }
  return rows;
}

}  // namespace vexlan
