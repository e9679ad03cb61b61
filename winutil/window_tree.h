// The walk that lists a desktop's windows as a tree.
//
// Starting from one window, the walk visits it and every following sibling in
// Z order, each followed by its own children, depth first: the rows come out
// in the order their tree nodes are added (parent before children, siblings
// from the top of the Z order down). Each row carries what a node caption
//   n: "caption" [class] (handle)
// is made of, n numbering the listed windows of one sibling run from 1.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/clock.h"
#include "platform/window_services.h"

namespace vexlan {

// What tells one window from another that later gets the same handle: its
// class (name and atom) and the thread that made it. A number 0 was not
// read, and matches any.
struct WindowIdentity {
  std::string class_name;
  std::uint32_t atom = 0;
  std::uint32_t thread = 0;

  bool SameWindowAs(const WindowIdentity& other) const {
    const auto same = [](std::uint32_t a, std::uint32_t b) { return a == 0 || b == 0 || a == b; };
    return class_name == other.class_name && same(atom, other.atom) && same(thread, other.thread);
  }
};

struct WindowRow {
  WindowHandle wnd = 0;
  int parent = -1;  // index of the parent's row; -1 for the first run's windows
  int number = 0;   // sibling number among the listed windows of its run
  std::string caption;  // the window's own caption, at most 200 UTF-16 units
  WindowIdentity identity;
  // False when the walk left the window's children unread (WalkOptions::known).
  bool children_read = true;

  const std::string& ClassName() const { return identity.class_name; }
  // Its node caption.
  std::string NodeText() const;
};

struct WalkOptions {
  // Only windows the system reports visible, with their subtrees.
  bool only_shown = false;
  // How much of each window's identity is read. kClass: its class; kNew:
  // its class and thread, for windows `known` does not name, a window it
  // names being taken for the one it knows (its caption alone is read: one
  // call a window instead of three); kEvery: class and thread of every
  // window.
  enum class Identity { kClass, kNew, kEvery };
  Identity identity = Identity::kClass;
  // The windows the caller already holds, with their identity; none when
  // empty.
  std::function<const WindowIdentity*(WindowHandle)> known;
  // With `known`: a window the caller holds, read as the same window, is
  // listed without its children, which the caller keeps (children_read
  // false). Without: every subtree is walked.
  bool keep_known_subtrees = false;
  // With `known` and kNew: a window the caller holds without children is
  // not asked for any (children_read false): a caller told of every window
  // created (as Wine and Windows both tell) learns of new children so, and
  // a walk spares one call a window.
  std::function<bool(WindowHandle)> known_has_children;
};

// A walk that can stop and go on later: each sibling run is read whole before
// any of its windows is descended into, so a window that closes or is
// restacked during its subtree's walk does not cut its run short; a window
// met before in this walk ends the run being read (a next-sibling chain can
// cycle); a window that has gone when its turn comes is left out, and
// numbering counts only the windows listed.
class WindowWalk {
 public:
  // Lists `first`, its following siblings and all their descendants (no
  // window when `first` is 0).
  WindowWalk(WindowServices& ws, WindowHandle first, WalkOptions options = {});
  // Lists the children of `parent` (0: the top-level windows) and all their
  // descendants. `parent` and its ancestors count as met: a Z-order chain
  // that loops back to one of them ends there, as it would in a whole walk.
  static WindowWalk Under(WindowServices& ws, WindowHandle parent, WalkOptions options = {});
  // Lists `wnd` alone (no following sibling) with its descendants.
  static WindowWalk Subtree(WindowServices& ws, WindowHandle wnd, WalkOptions options = {});
  // Walks on until every window is listed (true) or `deadline` has no time
  // left (false: call again to go on). The deadline is looked at between
  // windows; a run is always read whole, however long it is.
  bool Continue(const Deadline* deadline = nullptr);
  bool Done() const { return runs_.empty(); }
  const std::vector<WindowRow>& Rows() const { return rows_; }
  std::vector<WindowRow> TakeRows() { return std::move(rows_); }

 private:
  struct Run {
    std::vector<WindowHandle> windows;
    std::size_t next = 0;  // the window whose turn comes next
    int parent = -1;       // row its listed windows hang under
    int count = 0;         // listed windows so far
  };
  void ReadRun(WindowHandle first, int parent);
  // Walks the next window of the back run.
  void VisitNext(Run& run);
  // The class name of `wnd`, whose class atom is `atom`; empty when the
  // window has gone.
  std::string ClassOf(WindowHandle wnd, std::uint32_t atom);

  WindowServices& ws_;
  WalkOptions options_;
  std::vector<WindowRow> rows_;
  std::vector<Run> runs_;
  std::unordered_set<WindowHandle> met_;
  // Class names by atom, for this walk only: an atom names one class as long
  // as the class is registered, and asking for an atom costs one call where
  // a name costs more.
  std::unordered_map<std::uint32_t, std::string> class_names_;
  bool single_ = false;  // the first run is its first window alone
};

// Lists `first`, its following siblings and all their descendants. With
// `only_shown`, a window the system does not report visible is left out with
// its whole subtree (a hidden window's descendants are never visible).
std::vector<WindowRow> WalkWindows(WindowServices& ws, WindowHandle first, bool only_shown);

// The eight-piece caption of a tree node. `caption` and `class_name` appear
// verbatim, unescaped.
std::string NodeCaption(int number, std::string_view caption, std::string_view class_name, WindowHandle wnd);

// The handle a node caption ends with: the signed decimal between its last
// left parenthesis and its final right parenthesis. Nothing when the text
// has no such group or it is not a 32-bit decimal number.
std::optional<WindowHandle> HandleFromNodeCaption(std::string_view text);

}  // namespace vexlan
