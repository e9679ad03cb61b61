#include "forms/node_register.h"

#include <algorithm>
#include <unordered_set>

namespace vexlan {

void TNodeRegister::Attach(TTreeView* view) {
  if (view_) view_->Items().OnClearing = nullptr;
  Clear();
  view_ = view;
  if (view_) view_->Items().OnClearing = [this] { Clear(); };
}

TNodeEntry TNodeRegister::operator[](std::size_t index) const {
  const WindowHandle wnd = model_.At(static_cast<int>(index));
  return {wnd, NodeOf(wnd)};
}

TTreeNode* TNodeRegister::NodeOf(WindowHandle wnd) const {
  const auto it = nodes_.find(wnd);
  return it == nodes_.end() ? nullptr : it->second;
}

WindowHandle TNodeRegister::WindowOf(const TTreeNode* node) {
  return node ? static_cast<WindowHandle>(node->Data()) : 0;
}

void TNodeRegister::Clear() {
  model_.Clear();
  nodes_.clear();
  count_ = 0;
}

void TNodeRegister::Rebuild(const std::vector<WindowRow>& walk) {
  TTreeNodes& nodes = view_->Items();
  nodes.BeginUpdate();
  nodes.Clear();  // and with the nodes the register
  model_.Build(walk);
  nodes_.reserve(static_cast<std::size_t>(model_.Count()));
  // Register order puts every parent before its children, and siblings in
  // order: each node is its parent's last child so far.
  for (int i = 0; i < model_.Count(); ++i) {
    const WindowHandle wnd = model_.At(i);
    const WindowHandle parent = model_.Find(wnd)->parent;
    TTreeNode* node = nodes.AddChild(parent ? nodes_.at(parent) : nullptr, model_.NodeText(wnd));
    node->SetData(wnd);
    nodes_.emplace(wnd, node);
  }
  count_ = model_.Count();
  nodes.EndUpdate();
}

void TNodeRegister::Add(TTreeNode* parent, TTreeNode* after, const WindowRow& row, int row_index,
                        std::vector<TTreeNode*>& made) {
  const std::string text = model_.Contains(row.wnd) ? model_.NodeText(row.wnd) : row.NodeText();
  TTreeNodes& nodes = view_->Items();
  TTreeNode* node = row_index == 0 ? nodes.Insert(parent, after, text) : nodes.AddChild(parent, text);
  node->SetData(row.wnd);
  nodes_[row.wnd] = node;
  made.push_back(node);
}

void TNodeRegister::Forget(TTreeNode* node) {
  std::vector<TTreeNode*> going{node};
  while (!going.empty()) {
    TTreeNode* n = going.back();
    going.pop_back();
    nodes_.erase(WindowOf(n));
    going.insert(going.end(), n->Children().begin(), n->Children().end());
  }
}

void TNodeRegister::Renumber(TTreeNode* parent) {
  const std::vector<TTreeNode*>& run = parent ? parent->Children() : view_->Items().Roots();
  for (TTreeNode* node : run) {
    std::string text = model_.NodeText(WindowOf(node));
    const std::string& old = node->Text();
    if (text == old) continue;
    // Only the number changed, and by as many digits: the same room.
    const std::size_t colon = old.find(':');
    const bool same_width = text.size() == old.size() && text.find(':') == colon &&
                            text.compare(colon, std::string::npos, old, colon, std::string::npos) == 0;
    node->SetText(std::move(text), same_width);
  }
}

void TNodeRegister::Show(const std::vector<TreeChange>& changes) {
  if (!view_ || changes.empty()) {
    count_ = model_.Count();
    return;
  }
  TTreeNodes& nodes = view_->Items();
  const WindowHandle selected = WindowOf(view_->Selected());
  const WindowHandle top = WindowOf(view_->TopItem());
  // The control may move its selection while nodes go: told once, after.
  TNotifyEvent on_change = std::move(view_->OnChange);
  view_->OnChange = nullptr;
  const bool many = changes.size() > 64;
  if (many) nodes.BeginUpdate();

  std::unordered_set<WindowHandle> touched;  // parents whose runs changed (0: the roots')
  std::vector<WindowHandle> reopen;          // windows whose nodes were expanded before a move
  for (const TreeChange& change : changes) {
    TTreeNode* node = NodeOf(change.wnd);
    switch (change.kind) {
      case TreeChange::Kind::kAdded: {
        std::vector<TTreeNode*> made;
        for (std::size_t i = 0; i < change.rows.size(); ++i) {
          const int parent = change.rows[i].parent;
          TTreeNode* under = i == 0 ? NodeOf(change.parent) : made.at(static_cast<std::size_t>(parent));
          Add(under, i == 0 ? NodeOf(change.after) : nullptr, change.rows[i], static_cast<int>(i), made);
        }
        touched.insert(change.parent);
        break;
      }
      case TreeChange::Kind::kRemoved:
        if (!node) break;
        touched.insert(WindowOf(node->Parent()));
        Forget(node);
        nodes.Delete(node);
        break;
      case TreeChange::Kind::kRenamed:
        if (node && model_.Contains(change.wnd)) node->SetText(model_.NodeText(change.wnd));
        break;
      case TreeChange::Kind::kRestacked:
      case TreeChange::Kind::kMoved: {
        if (!node) break;
        touched.insert(WindowOf(node->Parent()));
        touched.insert(change.parent);
        // The moved subtree leaves the control; its expanded nodes open again.
        std::vector<TTreeNode*> walk{node};
        while (!walk.empty()) {
          TTreeNode* n = walk.back();
          walk.pop_back();
          if (n->KnownExpanded()) reopen.push_back(WindowOf(n));
          walk.insert(walk.end(), n->Children().rbegin(), n->Children().rend());
        }
        nodes.Move(node, NodeOf(change.parent), NodeOf(change.after));
        break;
      }
    }
  }
  for (const WindowHandle parent : touched) {
    if (parent == 0 || nodes_.count(parent)) Renumber(parent ? nodes_.at(parent) : nullptr);
  }
  for (const WindowHandle wnd : reopen) {
    if (TTreeNode* node = NodeOf(wnd)) node->Expand();
  }
  count_ = model_.Count();
  if (many) {
    nodes.EndUpdate();
  } else {
    view_->Invalidate();
  }
  // The user's place, where its windows are still listed.
  TTreeNode* now_selected = view_->Selected();
  if (TTreeNode* node = NodeOf(selected); node && node != now_selected) view_->SetSelected(node);
  if (TTreeNode* node = NodeOf(top); node && node != view_->TopItem()) view_->SetTopItem(node);
  view_->OnChange = std::move(on_change);
  if (WindowOf(view_->Selected()) != selected && view_->OnChange) view_->OnChange(view_);
}

TNodeRegister::Place TNodeRegister::CurrentPlace() const {
  Place place;
  if (!view_) return place;
  place.selected = WindowOf(view_->Selected());
  place.top = WindowOf(view_->TopItem());
  // What the nodes recorded: asking the control node by node would cost a
  // search through every item for each node.
  for (const auto& [wnd, node] : nodes_) {
    if (node->KnownExpanded()) place.expanded.push_back(wnd);
  }
  std::sort(place.expanded.begin(), place.expanded.end());
  return place;
}

void TNodeRegister::ReturnTo(const Place& place) {
  if (!view_) return;
  // In register order: a parent opens before its children. Only the few
  // that were expanded cost messages.
  for (int i = 0; !place.expanded.empty() && i < model_.Count(); ++i) {
    const WindowHandle wnd = model_.At(i);
    if (std::binary_search(place.expanded.begin(), place.expanded.end(), wnd)) NodeOf(wnd)->Expand();
  }
  view_->SetTopItem(NodeOf(place.top));
  if (TTreeNode* node = NodeOf(place.selected)) {
    node->MakeVisible();
    view_->SetSelected(node);
  }
}

}  // namespace vexlan
