#include "winutil/window_tree.h"

#include "platform/toolkit/sysutils.h"
#include "platform/utf.h"
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

std::string WindowRow::NodeText() const { return NodeCaption(number, caption, identity.class_name, wnd); }

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

WindowWalk::WindowWalk(WindowServices& ws, WindowHandle first, WalkOptions options)
    : ws_(ws), options_(std::move(options)) {
  ReadRun(first, -1);
}

WindowWalk WindowWalk::Under(WindowServices& ws, WindowHandle parent, WalkOptions options) {
  WindowWalk walk(ws, 0, std::move(options));
  walk.runs_.clear();
  // At most as many ancestors as windows: the parent chain cannot loop for
  // longer than the desktop is deep.
  for (WindowHandle a = parent; a != 0 && walk.met_.insert(a).second; a = ws.ParentOf(a)) {
  }
  walk.ReadRun(parent ? GetFirstChild(ws, parent) : ws.TopWindow(), -1);
  return walk;
}

WindowWalk WindowWalk::Subtree(WindowServices& ws, WindowHandle wnd, WalkOptions options) {
  WindowWalk walk(ws, 0, std::move(options));
  walk.runs_.back().windows.push_back(wnd);
  walk.met_.insert(wnd);
  return walk;
}

void WindowWalk::ReadRun(WindowHandle first, int parent) {
  Run run;
  run.parent = parent;
  // A next-sibling chain can cycle: a window met before ends the run.
  for (WindowHandle wnd = first; wnd != 0 && met_.insert(wnd).second; wnd = GetNextSibling(ws_, wnd)) {
    run.windows.push_back(wnd);
  }
  runs_.push_back(std::move(run));
}

std::string WindowWalk::ClassOf(WindowHandle wnd, std::uint32_t atom) {
  if (atom == 0) return GetWindowClass(ws_, wnd);
  const auto it = class_names_.find(atom);
  if (it != class_names_.end()) return it->second;
  std::string name = GetWindowClass(ws_, wnd);
  // A window gone between the two calls tells nothing about its atom.
  if (!name.empty()) class_names_.emplace(atom, name);
  return name;
}

bool WindowWalk::Continue(const Deadline* deadline) {
  while (!runs_.empty()) {
    if (deadline && deadline->LeftMs() == 0) return false;
    Run& run = runs_.back();
    if (run.next == run.windows.size()) {
      runs_.pop_back();
    } else {
      VisitNext(run);
    }
  }
  return true;
}

void WindowWalk::VisitNext(Run& run) {
  const WindowHandle wnd = run.windows[run.next++];
  // Every descendant of a window that is not visible is itself not visible,
  // so with the filter on an unlisted window's subtree is not walked at all.
  if (options_.only_shown && !ws_.IsVisible(wnd)) return;

  const WindowIdentity* known = options_.known ? options_.known(wnd) : nullptr;
  WindowRow row;
  row.wnd = wnd;
  row.parent = run.parent;
  if (known && options_.identity == WalkOptions::Identity::kNew) {
    // Taken for the window the caller knows. Should it have gone since its
    // run was read, it is listed with an empty caption until the next walk.
    row.identity = *known;
  } else {
    row.identity.atom = ws_.ClassAtom(wnd);
    // Every window has a class name; none means the window has gone since
    // its run was read, and it is left out.
    row.identity.class_name = ClassOf(wnd, row.identity.atom);
    if (row.identity.class_name.empty()) return;
    if (options_.identity != WalkOptions::Identity::kClass) row.identity.thread = ws_.ThreadOf(wnd);
  }
  row.caption = GetWindowCaption(ws_, wnd);
  row.number = ++run.count;
  const bool kept = known && options_.keep_known_subtrees && known->SameWindowAs(row.identity);
  const bool childless = known && options_.identity == WalkOptions::Identity::kNew && options_.known_has_children &&
                         !options_.known_has_children(wnd);
  row.children_read = !kept && !childless;
  const bool descend = row.children_read;
  rows_.push_back(std::move(row));
  // `run` is not used after this: a new run may move it.
  if (!descend) return;
  if (const WindowHandle child = GetFirstChild(ws_, wnd)) ReadRun(child, static_cast<int>(rows_.size() - 1));
}

std::vector<WindowRow> WalkWindows(WindowServices& ws, WindowHandle first, bool only_shown) {
  WalkOptions options;
  options.only_shown = only_shown;
  WindowWalk walk(ws, first, std::move(options));
  walk.Continue();
  return walk.TakeRows();
}

}  // namespace vexlan
