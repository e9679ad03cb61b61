// The node register of the main form: the tree model (winutil/tree_model),
// the one owner of what the tree lists, and beside it the tree view node
// made for each listed window, which carries its window's handle (Data).
//
// Entry i is the model's window i in register order with its node; the
// count is the model's. The register builds the view from the model and
// shows the model's changes in it node by node: nothing is cleared, nodes
// of unchanged windows keep their items, and siblings whose numbers changed
// get their new captions. The view holds items only for what the user has
// opened (see TTreeView), so a change under a collapsed node costs the
// control nothing. Whenever the view's nodes go (TTreeNodes::Clear, or the
// control's window), the register empties first, so an entry never names a
// node that is gone.
#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "platform/toolkit/win32/tree_view.h"
#include "winutil/tree_model.h"

namespace vexlan {

// One entry of the node register: a listed window and the tree node made for it.
struct TNodeEntry {
  WindowHandle Wnd = 0;
  TTreeNode* Node = nullptr;
};

class TNodeRegister {
 public:
  // Where the user is in the tree, by window.
  struct Place {
    WindowHandle selected = 0;
    WindowHandle top = 0;
    std::vector<WindowHandle> expanded;  // sorted
  };

  // Registers the nodes of `view` from now on (nullptr: of no view; the
  // register empties either way).
  void Attach(TTreeView* view);

  // Entry `index` (0 for the first node in register order).
  TNodeEntry operator[](std::size_t index) const;
  std::size_t size() const { return static_cast<std::size_t>(count_); }
  // What NodeCount reads.
  const int& Count() const { return count_; }
  const WindowTreeModel& Model() const { return model_; }
  // For whoever brings the model up to date; Show then shows its changes.
  WindowTreeModel& Model() { return model_; }
  // The node of `wnd`; nullptr when it is not listed.
  TTreeNode* NodeOf(WindowHandle wnd) const;
  // The window of a node of the view; 0 for none.
  static WindowHandle WindowOf(const TTreeNode* node);

  // Empties the view and the register, then lists the windows of `walk`.
  void Rebuild(const std::vector<WindowRow>& walk);
  // Shows in the view what the model changed, in the order changed, keeping
  // the selection, the node at the top and the expanded nodes of windows
  // still listed.
  void Show(const std::vector<TreeChange>& changes);
  // Empties the register (the view's nodes are going).
  void Clear();

  Place CurrentPlace() const;
  // Expands the nodes of the windows that were expanded, puts the top one
  // back at the top and selects the selected one, leaving out windows no
  // longer listed.
  void ReturnTo(const Place& place);

 private:
  void Add(TTreeNode* parent, TTreeNode* after, const WindowRow& row, int row_index,
           std::vector<TTreeNode*>& made);
  void Forget(TTreeNode* node);
  // The captions of `parent`'s children (nullptr: the roots) as the model
  // has them now.
  void Renumber(TTreeNode* parent);

  TTreeView* view_ = nullptr;
  WindowTreeModel model_;
  std::unordered_map<WindowHandle, TTreeNode*> nodes_;
  int count_ = 0;
};

}  // namespace vexlan
