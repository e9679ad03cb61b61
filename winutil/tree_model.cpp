#include "winutil/tree_model.h"

#include <algorithm>

#include "winutil/control_pictures.h"

namespace vexlan {

namespace {

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::optional<int> FindFirst(const std::vector<WindowRow>& rows, std::string_view text,
                             std::string_view (WindowRow::*piece)() const) {
  if (text.empty()) return std::nullopt;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (ContainsIgnoringAsciiCase((rows[i].*piece)(), text)) return static_cast<int>(i);
  }
  return std::nullopt;
}

}  // namespace

int WindowTreeModel::Append(const std::vector<WindowRow>& walk, int parent) {
  const int base = Count();
  rows_.reserve(rows_.size() + walk.size());
  for (WindowRow row : walk) {
    row.parent = row.parent < 0 ? parent : row.parent + base;
    rows_.push_back(std::move(row));
  }
  return base;
}

std::optional<int> WindowTreeModel::FindByHandle(WindowHandle wnd) const {
  const auto it = std::find_if(rows_.begin(), rows_.end(), [wnd](const WindowRow& r) { return r.wnd == wnd; });
  if (it == rows_.end()) return std::nullopt;
  return static_cast<int>(it - rows_.begin());
}

std::optional<int> WindowTreeModel::FindByName(std::string_view text) const {
  return FindFirst(rows_, text, &WindowRow::CaptionPiece);
}

std::optional<int> WindowTreeModel::FindByClass(std::string_view text) const {
  return FindFirst(rows_, text, &WindowRow::ClassPiece);
}

bool ContainsIgnoringAsciiCase(std::string_view candidate, std::string_view text) {
  if (text.empty()) return false;
  const auto same = [](char a, char b) { return FoldAscii(a) == FoldAscii(b); };
  return std::search(candidate.begin(), candidate.end(), text.begin(), text.end(), same) != candidate.end();
}

std::string TreeText(const std::vector<WindowRow>& rows) {
  // children[r + 1]: the rows under row r, in row order; children[0]: the roots.
  std::vector<std::vector<int>> children(rows.size() + 1);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int parent = rows[i].parent;
    children[parent >= 0 && static_cast<std::size_t>(parent) < i ? static_cast<std::size_t>(parent) + 1 : 0]
        .push_back(static_cast<int>(i));
  }
  struct Pending {
    int row;
    std::size_t level;
  };
  std::vector<Pending> stack;
  const auto push_children = [&](std::size_t slot, std::size_t level) {
    for (auto it = children[slot].rbegin(); it != children[slot].rend(); ++it) stack.push_back({*it, level});
  };
  push_children(0, 0);
  std::string text;
  for (bool first = true; !stack.empty(); first = false) {
    const Pending p = stack.back();
    stack.pop_back();
    if (!first) text += "\r\n";
    text.append(p.level, '\t');
    text += ControlPictures(rows[static_cast<std::size_t>(p.row)].caption);
    push_children(static_cast<std::size_t>(p.row) + 1, p.level + 1);
  }
  return text;
}

std::string_view SiblingNumberText(std::string_view node_caption) {
  std::string_view word = node_caption.substr(0, node_caption.find(' '));
  if (!word.empty()) word.remove_suffix(1);
  return word;
}

std::string PathString(std::span<const std::string_view> chain) {
  std::string path;
  for (std::size_t i = 1; i < chain.size(); ++i) {
    path += 'n';
    path += SiblingNumberText(chain[i]);
  }
  return path;
}

}  // namespace vexlan
