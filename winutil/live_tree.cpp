#include "winutil/live_tree.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

#include "winutil/ExtCntrlsUtils.h"

namespace vexlan {

LiveTree::LiveTree(WindowTreeModel& model, WindowServices& ws, Clock& clock, WorkMeter& meter,
                   LiveTreeSettings settings)
    : model_(model),
      ws_(ws),
      clock_(clock),
      meter_(meter),
      settings_(settings),
      last_walk_start_ms_(clock.NowMs() - settings.shortest_interval_ms),
      balance_at_ms_(clock.NowMs()) {}

void LiveTree::SetOnlyShown(bool only_shown) {
  if (only_shown == only_shown_) return;
  only_shown_ = only_shown;
  Rebuilt();
}

void LiveTree::Rebuilt() {
  walk_.reset();
  walk_cost_us_ = 0;
  LeaveMarksToAWalk();
  last_walk_start_ms_ = clock_.NowMs();
}

void LiveTree::LeaveMarksToAWalk() {
  marked_.clear();
  marked_set_.clear();
  placed_.clear();
  marked_runs_.clear();
  next_walk_reads_identity_ = true;
  walk_now_ = false;
}

void LiveTree::Mark(const WindowEvent& event) {
  if (marked_.empty() && marked_runs_.empty()) first_mark_ms_ = clock_.NowMs();
  if (event.kind == WindowEventKind::kReordered) {
    marked_runs_.insert(event.wnd);
    return;
  }
  if (event.wnd == 0) return;
  if (marked_set_.insert(event.wnd).second) marked_.push_back(event.wnd);
  if (event.kind == WindowEventKind::kCreated || event.kind == WindowEventKind::kShown ||
      event.kind == WindowEventKind::kReparented) {
    placed_.insert(event.wnd);
  }
}

std::int64_t LiveTree::Balance(std::int64_t now_ms) const {
  const double earned = settings_.core_share * 1000.0 * static_cast<double>(std::max<std::int64_t>(0, now_ms - balance_at_ms_));
  return std::min(settings_.most_saved_us, balance_us_ + static_cast<std::int64_t>(earned));
}

std::int64_t LiveTree::WhenBalanceAt(std::int64_t level) const {
  const std::int64_t now = clock_.NowMs();
  const std::int64_t short_of = level - Balance(now);
  if (short_of <= 0) return now;
  return now + static_cast<std::int64_t>(std::ceil(static_cast<double>(short_of) / (settings_.core_share * 1000.0)));
}

std::int64_t LiveTree::DueAtMs() const {
  if (walk_ || walk_now_) return clock_.NowMs();
  std::int64_t due = std::max(WhenBalanceAt(0), last_walk_start_ms_ + settings_.shortest_interval_ms);
  if (Marked() > 0) {
    const std::int64_t marks_due = std::max(WhenBalanceAt(-(last_walk_cost_us_ + settings_.most_saved_us)),
                                            first_mark_ms_ + settings_.settle_ms);
    due = std::min(due, marks_due);
  }
  return due;
}

std::vector<TreeChange> LiveTree::Step() {
  const std::int64_t start_ms = clock_.NowMs();
  const std::int64_t start_us = meter_.SpentUs();
  const int walks_before = figures_.walks;
  std::vector<TreeChange> changes;
  const std::int64_t balance = Balance(start_ms);
  const bool marks_settled = Marked() > 0 && start_ms >= first_mark_ms_ + settings_.settle_ms &&
                             balance >= -(last_walk_cost_us_ + settings_.most_saved_us);
  if (walk_) {
    changes = WalkOn();
  } else if (walk_now_ || (marks_settled && Marked() > settings_.most_marks)) {
    // So many that one walk of everything costs less than looking at each.
    LeaveMarksToAWalk();
    StartWalk();
    changes = WalkOn();
  } else if (marks_settled) {
    changes = LookAtMarks();
  } else if (balance >= 0 && start_ms >= last_walk_start_ms_ + settings_.shortest_interval_ms) {
    StartWalk();
    changes = WalkOn();
  }
  const bool walked = figures_.walks != walks_before;
  const std::int64_t end_ms = clock_.NowMs();
  const std::int64_t cost_us = std::max<std::int64_t>(0, meter_.SpentUs() - start_us);
  if (walk_ || walked) {
    walk_cost_us_ += cost_us;
    if (!walk_) last_walk_cost_us_ = std::exchange(walk_cost_us_, 0);
  }
  balance_us_ = Balance(end_ms) - cost_us;
  balance_at_ms_ = end_ms;
  ++figures_.steps;
  figures_.spent_us += cost_us;
  figures_.longest_step_ms = std::max(figures_.longest_step_ms, end_ms - start_ms);
  return changes;
}

WalkOptions LiveTree::Options(WalkOptions::Identity identity, bool keep_known_subtrees) const {
  WalkOptions options;
  options.only_shown = only_shown_;
  options.identity = identity;
  options.known = [this](WindowHandle wnd) -> const WindowIdentity* {
    const WindowTreeModel::Node* node = model_.Find(wnd);
    return node ? &node->identity : nullptr;
  };
  options.keep_known_subtrees = keep_known_subtrees;
  return options;
}

void LiveTree::StartWalk() {
  const bool every = next_walk_reads_identity_ || walks_started_ % std::max(1, settings_.identity_every) == 0;
  WalkOptions options = Options(every ? WalkOptions::Identity::kEvery : WalkOptions::Identity::kNew, false);
  // New children are reported as they are made: the windows the tree holds
  // without children are not asked for any, but on the walks that read
  // every identity. Not with the filter on: a hidden child that is shown
  // is reported by Windows only.
  if (!only_shown_) {
    options.known_has_children = [this](WindowHandle wnd) {
      const WindowTreeModel::Node* node = model_.Find(wnd);
      return node && !node->children.empty();
    };
  }
  walk_.emplace(WindowWalk::Under(ws_, 0, std::move(options)));
  next_walk_reads_identity_ = false;
  ++walks_started_;
  last_walk_start_ms_ = clock_.NowMs();
}

std::vector<TreeChange> LiveTree::WalkOn() {
  const Deadline slice(clock_, static_cast<unsigned>(settings_.slice_ms));
  if (!walk_->Continue(&slice)) return {};
  std::vector<WindowRow> rows = walk_->TakeRows();
  walk_.reset();
  ++figures_.walks;
  return model_.Update(0, rows);
}

void LiveTree::Record(std::vector<TreeChange>& changes, TreeChange change) {
  model_.Apply(change);
  changes.push_back(std::move(change));
}

bool LiveTree::ReadRunAgain(WindowHandle parent, std::vector<TreeChange>& changes) {
  if (parent != 0 && !model_.Contains(parent)) return false;
  WalkOptions options = Options(WalkOptions::Identity::kNew, true);
  options.known = [this](WindowHandle wnd) -> const WindowIdentity* {
    const WindowTreeModel::Node* node = looking_at_.count(wnd) ? nullptr : model_.Find(wnd);
    return node ? &node->identity : nullptr;
  };
  WindowWalk walk = WindowWalk::Under(ws_, parent, std::move(options));
  walk.Continue();
  for (TreeChange& change : model_.Update(parent, walk.TakeRows())) changes.push_back(std::move(change));
  return true;
}

std::vector<TreeChange> LiveTree::LookAtMarks() {
  std::vector<TreeChange> changes;
  const std::unordered_set<WindowHandle> runs = std::move(marked_runs_);
  const std::vector<WindowHandle> windows = std::move(marked_);
  placing_ = std::move(placed_);
  const std::unordered_set<WindowHandle>& placed = placing_;
  looking_at_ = std::move(marked_set_);
  marked_runs_.clear();
  marked_.clear();
  marked_set_.clear();
  placed_.clear();
  // A run read again covers its windows: their captions are read with it.
  std::unordered_set<WindowHandle> read_again;
  for (const WindowHandle parent : runs) {
    if (ReadRunAgain(parent, changes)) read_again.insert(parent);
  }
  // Many new windows under one parent: its run is read once instead.
  std::unordered_map<WindowHandle, WindowHandle> parent_of;
  std::unordered_map<WindowHandle, std::size_t> new_under;
  for (const WindowHandle wnd : windows) {
    if (!ws_.Exists(wnd)) continue;
    const WindowHandle parent = parent_of[wnd] = ws_.ParentOf(wnd);
    const WindowTreeModel::Node* node = model_.Find(wnd);
    if (!node || node->parent != parent) ++new_under[parent];
  }
  for (const auto& [parent, count] : new_under) {
    if (count > settings_.most_new_in_run && !read_again.count(parent) && ReadRunAgain(parent, changes)) {
      read_again.insert(parent);
    }
  }
  std::vector<WindowHandle> pending;
  for (const WindowHandle wnd : windows) {
    // Listed under its parent by a run read again: read with it.
    const auto it = parent_of.find(wnd);
    const WindowTreeModel::Node* node = model_.Find(wnd);
    if (it != parent_of.end() && read_again.count(it->second) && node && node->parent == it->second) continue;
    if (!LookAt(wnd, placed.count(wnd) != 0, changes)) pending.push_back(wnd);
    looked_at_.insert(wnd);
  }
  // Windows that swapped places with an ancestor wait for the others' moves;
  // what is still tangled after that is left to a walk of everything.
  for (int pass = 0; pass < 2 && !pending.empty(); ++pass) {
    std::vector<WindowHandle> again;
    for (const WindowHandle wnd : pending) {
      if (!LookAt(wnd, true, changes)) again.push_back(wnd);
    }
    pending = std::move(again);
  }
  if (!pending.empty()) walk_now_ = true;
  looked_at_.clear();
  placing_.clear();
  looking_at_.clear();
  return changes;
}

bool LiveTree::LookAt(WindowHandle wnd, bool placed, std::vector<TreeChange>& changes) {
  const WindowTreeModel::Node* node = model_.Find(wnd);
  const std::uint32_t atom = ws_.ClassAtom(wnd);
  const bool listed_now = atom != 0 && (!only_shown_ || ws_.IsVisible(wnd));
  const WindowHandle parent = listed_now ? ws_.ParentOf(wnd) : 0;
  if (!listed_now || (parent != 0 && !model_.Contains(parent))) {
    // Gone, hidden, or under a parent the tree does not list (whose own
    // mark, if it comes to be listed, brings the window with it).
    if (node) Record(changes, TreeChange::Removed(wnd));
    return true;
  }
  const auto rename = [&] {
    const std::string caption = GetWindowCaption(ws_, wnd);
    if (caption != model_.Find(wnd)->caption) Record(changes, TreeChange::Renamed(wnd, caption));
    return true;
  };
  bool same = false;
  if (node) {
    const std::uint32_t thread = ws_.ThreadOf(wnd);
    same = (node->identity.atom == 0 || node->identity.atom == atom) &&
           (node->identity.thread == 0 || thread == 0 || node->identity.thread == thread);
    if (same && !placed && node->parent == parent) return rename();
  }
  // Where it goes: after the nearest sibling above it that the tree lists
  // under the same parent (first when there is none), passing over those
  // whose places may have changed and that are not looked at yet.
  WindowHandle after = 0;
  int steps = 0;
  for (WindowHandle above = ws_.PreviousSibling(wnd); above != 0; above = ws_.PreviousSibling(above)) {
    if (above == wnd || ++steps > settings_.most_steps_up) return ReadRunAgain(parent, changes);
    const WindowTreeModel::Node* sibling = model_.Find(above);
    const bool settled = !placing_.count(above) || looked_at_.count(above);
    if (sibling && sibling->parent == parent && settled) {
      after = above;
      break;
    }
  }
  if (same && node->parent == parent) {
    // The same window, perhaps somewhere else among its siblings.
    const std::vector<WindowHandle>& run = model_.Children(parent);
    const auto at = std::find(run.begin(), run.end(), wnd);
    if ((at == run.begin() ? 0 : *(at - 1)) != after) Record(changes, TreeChange::Restacked(wnd, parent, after));
    return rename();
  }
  if (same) {
    // Moved to another parent, with its subtree (unless the model has that
    // parent under it: then the run is read again instead).
    for (const WindowTreeModel::Node* a = model_.Find(parent); a; a = model_.Find(a->parent)) {
      if (a->wnd == wnd) return false;
    }
    Record(changes, TreeChange::Moved(wnd, parent, after));
    return rename();
  }
  // New, or a new window behind a handle the tree lists: walked with its subtree.
  WalkOptions options = Options(WalkOptions::Identity::kEvery, false);
  options.known = nullptr;
  WindowWalk walk = WindowWalk::Subtree(ws_, wnd, std::move(options));
  walk.Continue();
  std::vector<WindowRow> rows = walk.TakeRows();
  if (rows.empty()) {
    if (node) Record(changes, TreeChange::Removed(wnd));
    return true;
  }
  const bool elsewhere = std::any_of(rows.begin() + 1, rows.end(),
                                     [&](const WindowRow& row) { return model_.Contains(row.wnd); });
  if (elsewhere) return ReadRunAgain(parent, changes);
  if (node) Record(changes, TreeChange::Removed(wnd));
  Record(changes, TreeChange::Added(parent, after, std::move(rows)));
  return true;
}

}  // namespace vexlan
