// The live tree: keeps the tree model in step with the desktop while the
// user wants it to follow.
//
// Two ways of learning what changed:
// - The platform's window events mark windows (created, destroyed, shown,
//   hidden, renamed, moved to another parent) and parents whose children
//   changed order. A short settling delay after the first mark, the marked
//   windows are looked at again and their changes applied, each at the cost
//   of the few windows it concerns: a new window is walked with its subtree
//   and put after the nearest sibling above it that the tree lists.
// - A periodic walk of the whole desktop catches what the platform does not
//   report (Wine 8 reports only creations). It runs in slices that hold the
//   thread a few milliseconds each, and starts again once the work it cost
//   is paid for out of the budget: the live tree spends at most `core_share`
//   of one core, whatever the desktop's size, so its interval grows with the
//   walk's cost. Marked windows may take the budget into debt by as much
//   again as a walk costs (and what may be saved up), so events still show
//   at once after a walk; past that, they wait for the budget too. Windows the tree lists are taken as they are (one call
//   each for the caption), except on every `identity_every`th walk, which
//   reads every window's class and thread again.
// Marks wait while a periodic walk is under way, since the walk's result is
// laid over the model at its end; they are looked at again after it.
//
// Time is the caller's clock; work is what a WorkMeter says the thread spent.
// The caller runs Step when DueAtMs says, and shows the changes it returns.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

#include "platform/clock.h"
#include "platform/platform_services.h"
#include "platform/window_services.h"
#include "winutil/tree_model.h"

namespace vexlan {

// The processor time the calling thread has used, as the system counts it,
// in microseconds; never goes back.
class WorkMeter {
 public:
  virtual ~WorkMeter() = default;
  virtual std::int64_t SpentUs() = 0;
};

struct LiveTreeSettings {
  // From the first mark to looking at the marked windows.
  int settle_ms = 250;
  // What the live tree may spend, of one core.
  double core_share = 0.05;
  // Unspent budget kept for later, at most: a burst after a quiet time.
  std::int64_t most_saved_us = 100'000;
  // Periodic walks start at least this far apart, however cheap.
  int shortest_interval_ms = 500;
  // How long one slice of the periodic walk may hold the thread.
  int slice_ms = 25;
  // Every so many periodic walks read every window's identity again.
  int identity_every = 8;
  // More marked windows than this are left to a walk of the whole desktop.
  std::size_t most_marks = 256;
  // More new windows under one parent than this: its run is read again.
  std::size_t most_new_in_run = 16;
  // How far up the Z order a new window's place is looked for.
  int most_steps_up = 64;
};

struct LiveTreeFigures {
  int steps = 0;
  int walks = 0;               // periodic walks completed
  std::int64_t spent_us = 0;   // work of every step
  std::int64_t longest_step_ms = 0;
};

class LiveTree {
 public:
  LiveTree(WindowTreeModel& model, WindowServices& ws, Clock& clock, WorkMeter& meter,
           LiveTreeSettings settings = {});

  // Whether only shown windows are listed; a change makes the next step a
  // whole walk.
  void SetOnlyShown(bool only_shown);
  // The model was built afresh by someone else: whatever was under way is
  // dropped, and the next walk reads every identity.
  void Rebuilt();
  // An event from the platform: marks what it names.
  void Mark(const WindowEvent& event);

  // When Step has something to do (on the clock); always set.
  std::int64_t DueAtMs() const;
  // Does what is due now: a slice of a periodic walk under way, the marked
  // windows once they have settled, or the start of a periodic walk; the
  // changes made to the model, in the order made.
  std::vector<TreeChange> Step();

  // A walk of everything is under way or due at once.
  bool Walking() const { return walk_.has_value() || walk_now_; }
  std::size_t Marked() const { return marked_.size() + marked_runs_.size(); }
  const LiveTreeFigures& Figures() const { return figures_; }

 private:
  // Unspent budget now, in microseconds of work.
  std::int64_t Balance(std::int64_t now_ms) const;
  // When the balance is back at `level` or above.
  std::int64_t WhenBalanceAt(std::int64_t level) const;
  // Forgets the marks: the next walk, which reads every identity, covers them.
  void LeaveMarksToAWalk();
  std::vector<TreeChange> LookAtMarks();
  // `placed`: the event may have put the window somewhere new (it was
  // created, shown or given another parent), so its place is checked too.
  // False, changing nothing, when the window belongs under a window the
  // model still has under it (another mark may move that one first).
  bool LookAt(WindowHandle wnd, bool placed, std::vector<TreeChange>& changes);
  // Walks the children of `parent` again, those the model lists taken as
  // they are with their subtrees, except the marked ones being looked at,
  // which are read whole. False, doing nothing, for a parent not listed.
  bool ReadRunAgain(WindowHandle parent, std::vector<TreeChange>& changes);
  void StartWalk();
  std::vector<TreeChange> WalkOn();
  WalkOptions Options(WalkOptions::Identity identity, bool keep_known_subtrees) const;
  void Record(std::vector<TreeChange>& changes, TreeChange change);

  WindowTreeModel& model_;
  WindowServices& ws_;
  Clock& clock_;
  WorkMeter& meter_;
  LiveTreeSettings settings_;
  bool only_shown_ = false;

  std::vector<WindowHandle> marked_;  // in the order marked, once each
  std::unordered_set<WindowHandle> marked_set_;
  std::unordered_set<WindowHandle> placed_;  // marked windows whose place may have changed
  std::unordered_set<WindowHandle> looking_at_;  // the marks being looked at
  std::unordered_set<WindowHandle> placing_;     // those of them whose place may have changed
  std::unordered_set<WindowHandle> looked_at_;   // those of them done with
  std::unordered_set<WindowHandle> marked_runs_;  // parents whose children changed order (0: the desktop's)
  std::int64_t first_mark_ms_ = 0;

  std::optional<WindowWalk> walk_;
  std::int64_t walk_cost_us_ = 0;       // work of the walk under way so far
  std::int64_t last_walk_cost_us_ = 0;  // work of the last walk done
  int walks_started_ = 0;
  bool next_walk_reads_identity_ = true;
  bool walk_now_ = false;  // marks could not be settled one by one
  std::int64_t last_walk_start_ms_;
  // The budget: what was left at `balance_at_ms_`; it grows by core_share
  // of the time passed, up to most_saved_us.
  std::int64_t balance_us_ = 0;
  std::int64_t balance_at_ms_;
  LiveTreeFigures figures_;
};

}  // namespace vexlan
