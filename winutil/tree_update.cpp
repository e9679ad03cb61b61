// WindowTreeModel::Update: the model brought to a later walk, one change at
// a time, each recorded as it is made.
//
// The walk's tree is gone through from the top down, one sibling run at a
// time, so every window has its new parent in place before it moves under
// it (and nothing moves under its own descendant). First the windows whose
// handle now names another window go, with what was under them; then each
// run of the walk is laid out in the model: a window not listed is added
// with those of its descendants that are not listed either, a listed one
// under another parent is moved there, and among those already under the
// right parent the longest run already in order stays where it is while
// the others are restacked after the sibling they now follow. Windows under
// a walked parent that the walk does not list go last, once everything the
// walk lists has been moved out from under them.
#include <algorithm>
#include <stdexcept>
#include <unordered_map>

#include "winutil/tree_model.h"

namespace vexlan {

namespace {

// Indexes (into `keys`) of a longest strictly increasing subsequence of
// `keys`, ignoring negative entries.
std::vector<std::size_t> LongestIncreasing(const std::vector<int>& keys) {
  std::vector<std::size_t> tails;  // tails[k]: index of the smallest tail of a run of length k + 1
  std::vector<std::size_t> before(keys.size(), SIZE_MAX);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] < 0) continue;
    const auto at = std::lower_bound(tails.begin(), tails.end(), keys[i],
                                     [&](std::size_t t, int key) { return keys[t] < key; });
    if (at != tails.begin()) before[i] = *(at - 1);
    if (at == tails.end()) {
      tails.push_back(i);
    } else {
      *at = i;
    }
  }
  std::vector<std::size_t> kept;
  for (std::size_t i = tails.empty() ? SIZE_MAX : tails.back(); i != SIZE_MAX; i = before[i]) kept.push_back(i);
  return kept;
}

}  // namespace

std::vector<TreeChange> WindowTreeModel::Update(WindowHandle scope, const std::vector<WindowRow>& walk) {
  if (scope != 0 && !Contains(scope)) throw std::logic_error("the scope " + std::to_string(scope) + " is not listed");
  std::vector<TreeChange> changes;
  const auto record = [&](TreeChange change) {
    Make(change);
    changes.push_back(std::move(change));
  };

  // The walk as a tree; rows naming the scope or an ancestor of it stay out.
  std::unordered_set<WindowHandle> above{scope};
  for (const Node* n = Find(scope); n && n->parent != 0; n = Find(n->parent)) above.insert(n->parent);
  std::vector<bool> in(walk.size(), false);
  std::vector<std::vector<std::size_t>> kids(walk.size());
  std::vector<std::size_t> top;
  std::unordered_map<WindowHandle, std::size_t> row_of;
  for (std::size_t i = 0; i < walk.size(); ++i) {
    const int parent = walk[i].parent;
    if (parent >= 0 && (static_cast<std::size_t>(parent) >= i || !in[static_cast<std::size_t>(parent)])) continue;
    if (above.count(walk[i].wnd) || !row_of.emplace(walk[i].wnd, i).second) continue;
    in[i] = true;
    (parent < 0 ? top : kids[static_cast<std::size_t>(parent)]).push_back(i);
  }

  // Handles that came back for other windows: the old ones go first. What
  // the walk still lists under one of them (moved away meanwhile) is moved
  // out of its way first, with its subtree, which the walk may not have read.
  for (std::size_t i = 0; i < walk.size(); ++i) {
    const Node* node = in[i] ? Find(walk[i].wnd) : nullptr;
    if (!node || node->identity.SameWindowAs(walk[i].identity)) continue;
    const WindowHandle parent = node->parent;
    std::vector<WindowHandle> below(node->children.rbegin(), node->children.rend());
    while (!below.empty()) {
      const WindowHandle w = below.back();
      below.pop_back();
      const auto row = row_of.find(w);
      const Node* kept = Find(w);
      if (row != row_of.end() && kept->identity.SameWindowAs(walk[row->second].identity)) {
        const std::vector<WindowHandle>& run = Children(parent);
        record(TreeChange::Moved(w, parent, run.empty() ? 0 : run.back()));
      } else {
        below.insert(below.end(), kept->children.rbegin(), kept->children.rend());
      }
    }
    record(TreeChange::Removed(walk[i].wnd));
  }

  // A new window comes with its descendants that are new too.
  const auto subtree = [&](std::size_t first) {
    std::vector<WindowRow> rows;
    std::vector<std::pair<std::size_t, int>> stack{{first, -1}};
    while (!stack.empty()) {
      const auto [i, parent] = stack.back();
      stack.pop_back();
      rows.push_back(walk[i]);
      rows.back().parent = parent;
      const int here = static_cast<int>(rows.size() - 1);
      for (auto it = kids[i].rbegin(); it != kids[i].rend(); ++it) {
        if (!Contains(walk[*it].wnd)) stack.push_back({*it, here});
      }
    }
    return rows;
  };

  std::vector<WindowHandle> leaving;
  std::vector<std::pair<WindowHandle, const std::vector<std::size_t>*>> runs{{scope, &top}};
  while (!runs.empty()) {
    const auto [parent, run] = runs.back();
    runs.pop_back();
    // Those under `parent` already: where each stands now.
    std::unordered_map<WindowHandle, int> place;
    const std::vector<WindowHandle>& now = Children(parent);
    for (std::size_t k = 0; k < now.size(); ++k) {
      place.emplace(now[k], static_cast<int>(k));
      if (!row_of.count(now[k])) leaving.push_back(now[k]);
    }
    std::vector<int> keys;
    for (const std::size_t i : *run) {
      const auto it = place.find(walk[i].wnd);
      keys.push_back(it == place.end() ? -1 : it->second);
    }
    std::vector<bool> stays(run->size(), false);
    for (const std::size_t k : LongestIncreasing(keys)) stays[k] = true;

    WindowHandle after = 0;
    for (std::size_t k = 0; k < run->size(); ++k) {
      const WindowRow& row = walk[(*run)[k]];
      if (Node* node = FindNode(row.wnd)) {
        if (node->caption != row.caption) {
          record(TreeChange::Renamed(row.wnd, row.caption));
        }
        // What the walk read of it that the model did not know yet.
        if (node->identity.thread == 0) node->identity.thread = row.identity.thread;
        if (node->identity.atom == 0) node->identity.atom = row.identity.atom;
        if (node->parent != parent) {
          record(TreeChange::Moved(row.wnd, parent, after));
        } else if (!stays[k]) {
          record(TreeChange::Restacked(row.wnd, parent, after));
        }
      } else {
        record(TreeChange::Added(parent, after, subtree((*run)[k])));
      }
      after = row.wnd;
    }
    for (auto it = run->rbegin(); it != run->rend(); ++it) {
      if (walk[*it].children_read) runs.push_back({walk[*it].wnd, &kids[*it]});
    }
  }
  for (const WindowHandle wnd : leaving) {
    if (Contains(wnd)) record(TreeChange::Removed(wnd));
  }
  Settle();
  return changes;
}

}  // namespace vexlan
