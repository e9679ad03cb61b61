// The one owner of the main form's tree: every listed window by its handle,
// with its parent, its children in Z order, its caption and class and what
// tells it from a later window of the same handle. From these it derives
// what the tree shows and the lookups search:
// - the node caption `n: "caption" [class] (handle)`, n being the window's
//   place among its parent's listed children, from 1;
// - the node register's order: parent before children, siblings from the top
//   of the Z order down (a walk's order);
// - the lookups by handle, caption and class, and the PathString.
//
// It is built from a walk, and it brings itself up to date with a later
// walk of all or part of the desktop, recording what changed (TreeChange):
// windows added with their subtrees, removed, renamed, restacked and moved to
// another parent (a window the filter now shows or hides is added or
// removed). Whatever the changes, the model afterwards is the one a fresh
// build from the new walk would give: the same captions in the same order,
// so the same register and lookup answers. A handle that comes back for
// another window (another class, another thread) names a new window.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "winutil/window_tree.h"

namespace vexlan {

struct TreeChange {
  enum class Kind { kAdded, kRemoved, kRenamed, kRestacked, kMoved };
  Kind kind = Kind::kAdded;
  WindowHandle wnd = 0;
  // kAdded, kRestacked, kMoved: the parent it goes under (0: among the roots)
  // and the sibling it comes right after there (0: first).
  WindowHandle parent = 0;
  WindowHandle after = 0;
  // kRenamed: the new caption.
  std::string caption;
  // kAdded: the window (row 0) and the descendants that come with it, in
  // the walk's order, parents as row indices (row 0's is -1). kRemoved takes
  // the window's whole subtree.
  std::vector<WindowRow> rows;

  static TreeChange Added(WindowHandle parent, WindowHandle after, std::vector<WindowRow> rows);
  static TreeChange Removed(WindowHandle wnd);
  static TreeChange Renamed(WindowHandle wnd, std::string caption);
  static TreeChange Restacked(WindowHandle wnd, WindowHandle parent, WindowHandle after);
  static TreeChange Moved(WindowHandle wnd, WindowHandle parent, WindowHandle after);
  friend bool operator==(const TreeChange& a, const TreeChange& b);
};

// What "Find Next" looks for: every field given at once, each matched as its
// own lookup matches it (the handle exactly, the caption and the class as a
// text they contain). An empty text is a field not given.
struct WindowQuery {
  std::optional<WindowHandle> handle;
  std::string caption;
  std::string class_name;

  bool Empty() const { return !handle && caption.empty() && class_name.empty(); }
};

// Windows a lookup passes over (Vexlan's own); none when empty.
using SkipWindow = std::function<bool(WindowHandle)>;

class WindowTreeModel {
 public:
  struct Node {
    WindowHandle wnd = 0;
    WindowHandle parent = 0;  // 0: a root
    std::string caption;
    WindowIdentity identity;
    std::vector<WindowHandle> children;  // listed children, top of the Z order first
    int number = 0;                      // place among its parent's children, from 1
  };

  // Forgets every window: the register is empty.
  void Clear();
  // Every window of a whole walk, and nothing else.
  void Build(const std::vector<WindowRow>& walk);
  // Brings the windows under `scope` (0: the desktop) to what `walk` found
  // there: its rows of parent -1 are scope's listed children, each followed
  // by its subtree as the walk read it (a row whose children were not read
  // keeps the children the model has). Windows elsewhere in the model that
  // the walk lists are moved in; those under scope that it does not list are
  // removed. Returns the changes made, in the order made. `scope` must be
  // listed (or 0). A row naming `scope` or one of its ancestors (a Z-order
  // chain may loop back) is left out with its subtree.
  std::vector<TreeChange> Update(WindowHandle scope, const std::vector<WindowRow>& walk);
  // Makes one change, as Update records them. A change that does not fit the
  // model (a window it does not list, an `after` that is no child of
  // `parent`, a window moved under itself) throws std::logic_error.
  void Apply(const TreeChange& change);
  void Apply(const std::vector<TreeChange>& changes);

  // The register: one entry per listed window, in tree order.
  int Count() const { return static_cast<int>(nodes_.size()); }
  WindowHandle At(int index) const;
  std::optional<int> IndexOf(WindowHandle wnd) const;
  const Node* Find(WindowHandle wnd) const;
  bool Contains(WindowHandle wnd) const { return nodes_.count(wnd) != 0; }
  // The listed children of `parent`, or the roots for 0.
  const std::vector<WindowHandle>& Children(WindowHandle parent) const;
  // The window's node caption; empty for a window not listed.
  std::string NodeText(WindowHandle wnd) const;
  // "n" and the sibling number of every level below the window's top-level
  // window, outermost first ("n1n3"); empty for a top-level window or one
  // not listed.
  std::string PathString(WindowHandle wnd) const;

  // The first entry in register order that is `wnd`.
  std::optional<int> FindByHandle(WindowHandle wnd) const { return IndexOf(wnd); }
  // The first entry whose window caption, as listed (quotes and brackets of
  // its own included), contains `text`, ignoring the case of A-Z only, and
  // that `skip` does not pass over; an empty `text` matches nothing.
  std::optional<int> FindByName(std::string_view text, const SkipWindow& skip = {}) const;
  // The same over the class name.
  std::optional<int> FindByClass(std::string_view text, const SkipWindow& skip = {}) const;
  // The next entry after `from` in register order, wrapping around from the
  // last to the first, that matches every field `query` gives; `from` itself
  // comes last and is not taken (nothing when no other entry matches). From
  // nothing (or a position not in the register) the search starts at the
  // first entry. `skip` passes over windows unless the query names a handle:
  // a handle typed finds whichever window it names. An empty query matches
  // nothing.
  std::optional<int> FindNext(std::optional<int> from, const WindowQuery& query, const SkipWindow& skip = {}) const;
  // The first entry from `start` on (in register order, not wrapping) that
  // `match` takes.
  std::optional<int> FindFrom(int start, const std::function<bool(const Node&)>& match) const;

  // The whole tree as text, for the clipboard: one node caption a line,
  // after one tab per level below the roots, in register order, lines
  // separated by CR LF; control characters in captions are shown as their
  // symbols (ControlPictures), so each window stays one line.
  std::string TreeText() const;
  // True when both list the same windows under the same parents with the
  // same node captions, in the same register order.
  bool SameListing(const WindowTreeModel& other) const;

 private:
  Node* FindNode(WindowHandle wnd);
  std::vector<WindowHandle>& ChildrenOf(WindowHandle parent);
  // One change, its numbers left to Settle.
  void Make(const TreeChange& change);
  // The primitives every change is made of; each leaves numbers to Settle.
  void AddRows(WindowHandle parent, WindowHandle after, const std::vector<WindowRow>& rows);
  void Remove(WindowHandle wnd);
  void Place(WindowHandle wnd, WindowHandle parent, WindowHandle after);
  void Insert(std::vector<WindowHandle>& run, WindowHandle wnd, WindowHandle after);
  // Numbers the runs that changed and forgets the register's order.
  void Settle();
  void Order() const;

  std::unordered_map<WindowHandle, Node> nodes_;
  std::vector<WindowHandle> roots_;
  std::unordered_set<WindowHandle> unnumbered_;  // parents whose runs changed (0: the roots)
  // The register's order and each window's place and level in it, made
  // again when asked for after a change.
  mutable bool ordered_ = true;
  mutable std::vector<WindowHandle> order_;
  mutable std::vector<int> levels_;
  mutable std::unordered_map<WindowHandle, int> index_;
};

// True when `text` occurs in `candidate` as one contiguous piece, A-Z and
// a-z taken as equal and every other byte compared as it is (accented letters
// are not folded). An empty `text` never matches.
bool ContainsIgnoringAsciiCase(std::string_view candidate, std::string_view text);

// True when `node` matches every field `query` gives (see WindowQuery); an
// empty query matches nothing.
bool Matches(const WindowTreeModel::Node& node, const WindowQuery& query);

// The sibling number a node caption starts with, as text: its first word
// without the last character (the colon of "12: ..."). Empty for an empty
// caption.
std::string_view SiblingNumberText(std::string_view node_caption);

}  // namespace vexlan
