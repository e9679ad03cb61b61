// The model behind the main form's tree: the rows of the last build and the
// node register over them, with the lookups that find a window's row.
//
// The register has one entry per node in the order the nodes were added
// (parent before children, siblings from the top of the Z order down), which
// is the order of the rows, so entry i is row i. Whoever shows the rows keeps
// its own row -> node mapping beside the model and empties both together.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "winutil/window_tree.h"

namespace vexlan {

class WindowTreeModel {
 public:
  // Forgets every row: the register is empty.
  void Clear() { rows_.clear(); }
  // Appends the rows of a walk, hanging its first run under row `parent`
  // (-1: as roots). Returns the index the first appended row got.
  int Append(const std::vector<WindowRow>& walk, int parent);

  int Count() const { return static_cast<int>(rows_.size()); }
  const WindowRow& Row(int index) const { return rows_.at(static_cast<std::size_t>(index)); }
  const std::vector<WindowRow>& Rows() const { return rows_; }

  // The first row in register order whose window is `wnd`.
  std::optional<int> FindByHandle(WindowHandle wnd) const;
  // The first row whose window caption, as listed (the whole piece between
  // the node caption's quotes, quotes and brackets of its own included),
  // contains `text`, ignoring the case of A-Z only; an empty `text` matches
  // nothing.
  std::optional<int> FindByName(std::string_view text) const;
  // The same over the row's class name as listed.
  std::optional<int> FindByClass(std::string_view text) const;

 private:
  std::vector<WindowRow> rows_;
};

// True when `text` occurs in `candidate` as one contiguous piece, A-Z and
// a-z taken as equal and every other byte compared as it is (accented letters
// are not folded). An empty `text` never matches.
bool ContainsIgnoringAsciiCase(std::string_view candidate, std::string_view text);

// The whole tree as text, for the clipboard: one node caption a line, after
// one tab per level below the roots, in tree order (a row, then the subtrees
// of its children in row order), lines separated by CR LF (ControlPictures keeps each one line). A row whose parent
// is not an earlier row stands as a root, so every row appears exactly once.
std::string TreeText(const std::vector<WindowRow>& rows);

// The sibling number a node caption starts with, as text: its first word
// without the last character (the colon of "12: ..."). Empty for an empty
// caption.
std::string_view SiblingNumberText(std::string_view node_caption);
// The PathString of a node: "n" and its sibling number for every level below
// its top-level window, outermost first. `chain` holds the node captions from
// the top-level window's node down to the node itself; a top-level window's
// PathString is empty.
std::string PathString(std::span<const std::string_view> chain);

}  // namespace vexlan
