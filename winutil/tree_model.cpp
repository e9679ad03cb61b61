#include "winutil/tree_model.h"

#include <algorithm>
#include <stdexcept>

#include "winutil/control_pictures.h"

namespace vexlan {

namespace {

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

const std::vector<WindowHandle> kNoChildren;

}  // namespace

TreeChange TreeChange::Added(WindowHandle parent, WindowHandle after, std::vector<WindowRow> rows) {
  TreeChange c;
  c.wnd = rows.empty() ? 0 : rows.front().wnd;
  c.parent = parent;
  c.after = after;
  c.rows = std::move(rows);
  return c;
}

TreeChange TreeChange::Removed(WindowHandle wnd) {
  TreeChange c;
  c.kind = Kind::kRemoved;
  c.wnd = wnd;
  return c;
}

TreeChange TreeChange::Renamed(WindowHandle wnd, std::string caption) {
  TreeChange c;
  c.kind = Kind::kRenamed;
  c.wnd = wnd;
  c.caption = std::move(caption);
  return c;
}

TreeChange TreeChange::Restacked(WindowHandle wnd, WindowHandle parent, WindowHandle after) {
  TreeChange c;
  c.kind = Kind::kRestacked;
  c.wnd = wnd;
  c.parent = parent;
  c.after = after;
  return c;
}

TreeChange TreeChange::Moved(WindowHandle wnd, WindowHandle parent, WindowHandle after) {
  TreeChange c = Restacked(wnd, parent, after);
  c.kind = Kind::kMoved;
  return c;
}

bool operator==(const TreeChange& a, const TreeChange& b) {
  const auto same_rows = [](const std::vector<WindowRow>& x, const std::vector<WindowRow>& y) {
    return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](const WindowRow& r, const WindowRow& s) {
      return r.wnd == s.wnd && r.parent == s.parent && r.caption == s.caption && r.ClassName() == s.ClassName();
    });
  };
  return a.kind == b.kind && a.wnd == b.wnd && a.parent == b.parent && a.after == b.after &&
         a.caption == b.caption && same_rows(a.rows, b.rows);
}

void WindowTreeModel::Clear() {
  nodes_.clear();
  roots_.clear();
  unnumbered_.clear();
  ordered_ = false;
}

void WindowTreeModel::Build(const std::vector<WindowRow>& walk) {
  Clear();
  nodes_.reserve(walk.size());
  std::vector<WindowHandle> handles(walk.size());
  for (std::size_t i = 0; i < walk.size(); ++i) {
    const WindowRow& row = walk[i];
    handles[i] = row.wnd;
    if (row.parent >= static_cast<int>(i)) throw std::logic_error("a row comes before its parent");
    const WindowHandle parent = row.parent < 0 ? 0 : handles[static_cast<std::size_t>(row.parent)];
    if (!nodes_.emplace(row.wnd, Node{row.wnd, parent, row.caption, row.identity, {}, 0}).second) {
      throw std::logic_error("the window " + std::to_string(row.wnd) + " is listed twice");
    }
    ChildrenOf(parent).push_back(row.wnd);
    unnumbered_.insert(parent);
  }
  Settle();
}

WindowTreeModel::Node* WindowTreeModel::FindNode(WindowHandle wnd) {
  const auto it = nodes_.find(wnd);
  return it == nodes_.end() ? nullptr : &it->second;
}

const WindowTreeModel::Node* WindowTreeModel::Find(WindowHandle wnd) const {
  const auto it = nodes_.find(wnd);
  return it == nodes_.end() ? nullptr : &it->second;
}

std::vector<WindowHandle>& WindowTreeModel::ChildrenOf(WindowHandle parent) {
  if (parent == 0) return roots_;
  Node* node = FindNode(parent);
  if (!node) throw std::logic_error("the parent " + std::to_string(parent) + " is not listed");
  return node->children;
}

const std::vector<WindowHandle>& WindowTreeModel::Children(WindowHandle parent) const {
  if (parent == 0) return roots_;
  const Node* node = Find(parent);
  return node ? node->children : kNoChildren;
}

void WindowTreeModel::Insert(std::vector<WindowHandle>& run, WindowHandle wnd, WindowHandle after) {
  auto at = run.begin();
  if (after != 0) {
    at = std::find(run.begin(), run.end(), after);
    if (at == run.end()) throw std::logic_error("the window " + std::to_string(after) + " is no sibling there");
    ++at;
  }
  run.insert(at, wnd);
}

void WindowTreeModel::AddRows(WindowHandle parent, WindowHandle after, const std::vector<WindowRow>& rows) {
  if (rows.empty()) return;
  for (const WindowRow& row : rows) {
    if (Contains(row.wnd)) throw std::logic_error("the window " + std::to_string(row.wnd) + " is listed already");
  }
  Insert(ChildrenOf(parent), rows.front().wnd, after);
  unnumbered_.insert(parent);
  std::vector<WindowHandle> handles(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const WindowRow& row = rows[i];
    handles[i] = row.wnd;
    const WindowHandle under = i == 0 ? parent : handles.at(static_cast<std::size_t>(row.parent));
    nodes_[row.wnd] = Node{row.wnd, under, row.caption, row.identity, {}, 0};
    if (i > 0) {
      ChildrenOf(under).push_back(row.wnd);
      unnumbered_.insert(under);
    }
  }
  ordered_ = false;
}

void WindowTreeModel::Remove(WindowHandle wnd) {
  Node* node = FindNode(wnd);
  if (!node) throw std::logic_error("the window " + std::to_string(wnd) + " is not listed");
  std::vector<WindowHandle>& run = ChildrenOf(node->parent);
  run.erase(std::find(run.begin(), run.end(), wnd));
  unnumbered_.insert(node->parent);
  std::vector<WindowHandle> going{wnd};
  while (!going.empty()) {
    const WindowHandle w = going.back();
    going.pop_back();
    const auto it = nodes_.find(w);
    going.insert(going.end(), it->second.children.begin(), it->second.children.end());
    unnumbered_.erase(w);
    nodes_.erase(it);
  }
  ordered_ = false;
}

void WindowTreeModel::Place(WindowHandle wnd, WindowHandle parent, WindowHandle after) {
  Node* node = FindNode(wnd);
  if (!node) throw std::logic_error("the window " + std::to_string(wnd) + " is not listed");
  for (WindowHandle a = parent; a != 0; a = Find(a) ? Find(a)->parent : 0) {
    if (a == wnd) throw std::logic_error("the window " + std::to_string(wnd) + " cannot go under itself");
  }
  if (after == wnd) throw std::logic_error("a window cannot follow itself");
  std::vector<WindowHandle>& from = ChildrenOf(node->parent);
  from.erase(std::find(from.begin(), from.end(), wnd));
  unnumbered_.insert(node->parent);
  Insert(ChildrenOf(parent), wnd, after);
  node->parent = parent;
  unnumbered_.insert(parent);
  ordered_ = false;
}

void WindowTreeModel::Apply(const TreeChange& change) {
  Make(change);
  Settle();
}

void WindowTreeModel::Make(const TreeChange& change) {
  switch (change.kind) {
    case TreeChange::Kind::kAdded:
      if (change.rows.empty() || change.rows.front().wnd != change.wnd) {
        throw std::logic_error("an added window comes with its own row first");
      }
      AddRows(change.parent, change.after, change.rows);
      break;
    case TreeChange::Kind::kRemoved:
      Remove(change.wnd);
      break;
    case TreeChange::Kind::kRenamed: {
      Node* node = FindNode(change.wnd);
      if (!node) throw std::logic_error("the window " + std::to_string(change.wnd) + " is not listed");
      node->caption = change.caption;
      break;
    }
    case TreeChange::Kind::kRestacked:
    case TreeChange::Kind::kMoved: {
      const Node* node = Find(change.wnd);
      if (node && (node->parent == change.parent) != (change.kind == TreeChange::Kind::kRestacked)) {
        throw std::logic_error("a restacked window keeps its parent, a moved one changes it");
      }
      Place(change.wnd, change.parent, change.after);
      break;
    }
  }
}

void WindowTreeModel::Apply(const std::vector<TreeChange>& changes) {
  for (const TreeChange& change : changes) Apply(change);
}

void WindowTreeModel::Settle() {
  for (const WindowHandle parent : unnumbered_) {
    const std::vector<WindowHandle>& run = Children(parent);
    for (std::size_t i = 0; i < run.size(); ++i) nodes_.at(run[i]).number = static_cast<int>(i + 1);
  }
  unnumbered_.clear();
}

void WindowTreeModel::Order() const {
  if (ordered_ && order_.size() == nodes_.size()) return;
  order_.clear();
  levels_.clear();
  index_.clear();
  order_.reserve(nodes_.size());
  levels_.reserve(nodes_.size());
  index_.reserve(nodes_.size());
  struct Pending {
    WindowHandle wnd;
    int level;
  };
  std::vector<Pending> stack;
  for (auto it = roots_.rbegin(); it != roots_.rend(); ++it) stack.push_back({*it, 0});
  while (!stack.empty()) {
    const Pending p = stack.back();
    stack.pop_back();
    index_.emplace(p.wnd, static_cast<int>(order_.size()));
    order_.push_back(p.wnd);
    levels_.push_back(p.level);
    const std::vector<WindowHandle>& kids = nodes_.at(p.wnd).children;
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) stack.push_back({*it, p.level + 1});
  }
  ordered_ = true;
}

WindowHandle WindowTreeModel::At(int index) const {
  Order();
  return order_.at(static_cast<std::size_t>(index));
}

std::optional<int> WindowTreeModel::IndexOf(WindowHandle wnd) const {
  Order();
  const auto it = index_.find(wnd);
  if (it == index_.end()) return std::nullopt;
  return it->second;
}

std::string WindowTreeModel::NodeText(WindowHandle wnd) const {
  const Node* node = Find(wnd);
  return node ? NodeCaption(node->number, node->caption, node->identity.class_name, wnd) : std::string();
}

std::string WindowTreeModel::PathString(WindowHandle wnd) const {
  std::vector<int> numbers;
  for (const Node* node = Find(wnd); node && node->parent != 0; node = Find(node->parent)) {
    numbers.push_back(node->number);
  }
  std::string path;
  for (auto it = numbers.rbegin(); it != numbers.rend(); ++it) path += 'n' + std::to_string(*it);
  return path;
}

std::optional<int> WindowTreeModel::FindFrom(int start, const std::function<bool(const Node&)>& match) const {
  Order();
  for (std::size_t i = static_cast<std::size_t>(std::max(start, 0)); i < order_.size(); ++i) {
    if (match(nodes_.at(order_[i]))) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::optional<int> WindowTreeModel::FindByName(std::string_view text, const SkipWindow& skip) const {
  if (text.empty()) return std::nullopt;
  return FindFrom(0, [&](const Node& n) { return ContainsIgnoringAsciiCase(n.caption, text) && !(skip && skip(n.wnd)); });
}

std::optional<int> WindowTreeModel::FindByClass(std::string_view text, const SkipWindow& skip) const {
  if (text.empty()) return std::nullopt;
  return FindFrom(0, [&](const Node& n) {
    return ContainsIgnoringAsciiCase(n.identity.class_name, text) && !(skip && skip(n.wnd));
  });
}

std::optional<int> WindowTreeModel::FindNext(std::optional<int> from, const WindowQuery& query,
                                             const SkipWindow& skip) const {
  if (query.Empty()) return std::nullopt;
  // A handle names one window: only that entry can match.
  if (query.handle) {
    const std::optional<int> at = IndexOf(*query.handle);
    if (!at || at == from || !Matches(nodes_.at(*query.handle), query)) return std::nullopt;
    return at;
  }
  const int count = Count();
  const bool placed = from && *from >= 0 && *from < count;
  const int first = placed ? *from + 1 : 0;
  const int steps = placed ? count - 1 : count;
  Order();
  for (int step = 0; step < steps; ++step) {
    const int i = (first + step) % count;
    const Node& node = nodes_.at(order_[static_cast<std::size_t>(i)]);
    // The platform is asked only about windows that match.
    if (Matches(node, query) && !(skip && skip(node.wnd))) return i;
  }
  return std::nullopt;
}

std::string WindowTreeModel::TreeText() const {
  Order();
  std::string text;
  for (std::size_t i = 0; i < order_.size(); ++i) {
    if (i > 0) text += "\r\n";
    text.append(static_cast<std::size_t>(levels_[i]), '\t');
    // A caption's line breaks shown as symbols: one window a line.
    text += ControlPictures(NodeText(order_[i]));
  }
  return text;
}

bool WindowTreeModel::SameListing(const WindowTreeModel& other) const {
  if (Count() != other.Count()) return false;
  Order();
  other.Order();
  for (std::size_t i = 0; i < order_.size(); ++i) {
    const WindowHandle wnd = order_[i];
    if (other.order_[i] != wnd || Find(wnd)->parent != other.Find(wnd)->parent ||
        NodeText(wnd) != other.NodeText(wnd)) {
      return false;
    }
  }
  return true;
}

bool ContainsIgnoringAsciiCase(std::string_view candidate, std::string_view text) {
  if (text.empty()) return false;
  const auto same = [](char a, char b) { return FoldAscii(a) == FoldAscii(b); };
  return std::search(candidate.begin(), candidate.end(), text.begin(), text.end(), same) != candidate.end();
}

bool Matches(const WindowTreeModel::Node& node, const WindowQuery& query) {
  if (query.Empty()) return false;
  if (query.handle && *query.handle != node.wnd) return false;
  if (!query.caption.empty() && !ContainsIgnoringAsciiCase(node.caption, query.caption)) return false;
  return query.class_name.empty() || ContainsIgnoringAsciiCase(node.identity.class_name, query.class_name);
}

std::string_view SiblingNumberText(std::string_view node_caption) {
  std::string_view word = node_caption.substr(0, node_caption.find(' '));
  if (!word.empty()) word.remove_suffix(1);
  return word;
}

}  // namespace vexlan
