// The tree view control with its node collection.
//
// Nodes belong to the tree's TTreeNodes, which makes them (AddChild, Insert)
// and frees them (Delete, Clear, or when the tree goes). Every node is an
// object at once, but the control holds an item only for the nodes the user
// can reach: the roots, and the children of a node once it has been
// expanded (or a node inside it is revealed or selected). A rebuild of
// thousands of nodes under collapsed parents costs the control as many
// items as there are roots, and a change under a collapsed node costs it
// nothing. Items ask the node for their text and whether they have children
// when the control needs them (text and children callbacks), so a node's
// text lives in the node alone; each item's lParam names its node.
//
// Cost under Wine, which validates every item handle passed in a message by
// a linear search: an insertion at the end of a run passes none but the
// parent's, Clear none per node. Fill a large tree between BeginUpdate and
// EndUpdate: painting after every insertion makes a fill of thousands of
// nodes hundreds of times slower.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/toolkit/control_settings.h"
#include "platform/toolkit/win32/controls.h"

namespace vexlan {

class TTreeNodes;
class TTreeView;

class TTreeNode {
 public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  const std::string& Text() const { return text_; }
  // A new text. `same_width`: the caller knows it takes the room the old one
  // took (a digit for a digit), so the control only repaints it, at the
  // next paint the caller asks for; otherwise the control measures it again.
  void SetText(std::string text, bool same_width = false);
  // What the node's owner keeps on it (the main form: its window's handle).
  std::intptr_t Data() const { return data_; }
  void SetData(std::intptr_t data) { data_ = data; }
  // 0 for a root, one more per ancestor.
  int Level() const;
  TTreeNode* Parent() const { return parent_; }
  const std::vector<TTreeNode*>& Children() const { return children_; }
  // The control's item; nullptr while the node is out of the control (its
  // parent has never been expanded).
  HTREEITEM Handle() const { return item_; }
  TTreeNodes& Owner() const { return owner_; }

  bool Expanded() const;
  // Whether the node is expanded, without asking the control: the state it
  // reported at the user's every expansion and collapse, or that our own
  // calls gave it (the control reports a programmatic change only the first
  // time a node expands).
  bool KnownExpanded() const { return known_expanded_; }
  // Puts the children into the control first when they are not there yet.
  void Expand();
  void Collapse();
  // Expands every ancestor and scrolls the node into view.
  void MakeVisible();

 private:
  friend class TTreeNodes;
  friend class TTreeView;
  TTreeNode(TTreeNodes& owner, TTreeNode* parent, std::string text);
  // After the control has expanded every ancestor to show the node.
  void AncestorsExpanded();

  TTreeNodes& owner_;
  TTreeNode* parent_;
  std::vector<TTreeNode*> children_;
  std::string text_;
  std::intptr_t data_ = 0;
  HTREEITEM item_ = nullptr;
  bool children_in_control_ = false;
  bool known_expanded_ = false;
  std::size_t slot_ = 0;  // in the owner's list of nodes
};

class TTreeNodes {
 public:
  explicit TTreeNodes(TTreeView& view) : view_(view) {}
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  // A new last child of `parent`, or a new last root when `parent` is
  // nullptr. `parent` must be a node of this collection.
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
  // A new child of `parent` right after `after` (nullptr: first).
  TTreeNode* Insert(TTreeNode* parent, TTreeNode* after, const std::string& text);
  // Removes `node` with its subtree.
  void Delete(TTreeNode* node);
  // Moves `node` with its subtree under `parent` (nullptr: a root), right
  // after `after` (nullptr: first). Its descendants leave the control until
  // it is expanded again.
  void Move(TTreeNode* node, TTreeNode* parent, TTreeNode* after);
  // Removes every node (one message to the control, whatever the count).
  void Clear();
  // Runs before the nodes go, by Clear or with the control's window, so that
  // whoever keeps pointers to them can let go first.
  std::function<void()> OnClearing;
  int Count() const { return static_cast<int>(nodes_.size()); }
  const std::vector<TTreeNode*>& Roots() const { return roots_; }

  // Stops the control from painting until the matching EndUpdate; nested
  // pairs count, and the outermost EndUpdate repaints the control once.
  void BeginUpdate();
  void EndUpdate();

  // The node of a control item, or nullptr for none.
  TTreeNode* NodeFromItem(HTREEITEM item) const;
  TTreeView& View() const { return view_; }

 private:
  friend class TTreeNode;
  friend class TTreeView;
  void Clearing() const {
    if (OnClearing) OnClearing();
  }
  void Check(const TTreeNode* node) const;
  std::vector<TTreeNode*>& RunOf(TTreeNode* parent) { return parent ? parent->children_ : roots_; }
  // Whether children of `parent` (nullptr: roots) get items at once.
  bool InControl(const TTreeNode* parent) const { return !parent || parent->children_in_control_; }
  // Gives `node` its item, right after `after`'s (nullptr: first or last).
  void InsertItem(TTreeNode* node, HTREEITEM after);
  // Puts the children of `node` into the control, and its ancestors' first.
  void ChildrenIntoControl(TTreeNode* node);
  // The node's descendants are out of the control (its item has gone).
  static void OutOfControl(TTreeNode* node);
  void Free(TTreeNode* node);

  TTreeView& view_;
  std::vector<std::unique_ptr<TTreeNode>> nodes_;
  std::vector<TTreeNode*> roots_;
  int update_count_ = 0;
};

class TTreeView : public TWinControl {
 public:
  explicit TTreeView(TComponent* owner);
  ~TTreeView() override;

  TTreeNodes& Items() { return items_; }
  // The node shown at the top of the control, nullptr when it is empty.
  TTreeNode* TopItem() const;
  // The selected node, nullptr when none is.
  TTreeNode* Selected() const;
  // Selects `node` (nullptr: none) and scrolls it into view.
  void SetSelected(TTreeNode* node);
  // Runs after the selected node changed, whoever changed it (the user, a
  // program, nodes going).
  TNotifyEvent OnChange;
  // Scrolls so that `node` (nullptr: nothing is done) is shown at the top, as
  // far as the tree reaches.
  void SetTopItem(TTreeNode* node);

  // Captions cannot be edited in place.
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool on);
  int Indent() const { return indent_; }
  void SetIndent(int pixels);
  bool ShowLines() const { return show_lines_; }
  void SetShowLines(bool on);
  bool ShowButtons() const { return show_buttons_; }
  void SetShowButtons(bool on);
  bool ShowRoot() const { return show_root_; }
  void SetShowRoot(bool on);
  // The indent scales with the rest.
  void ChangeScale(int to, int from) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  bool DispatchByNumber(TMessage& message) override;
  POINT KeyboardMenuPoint() override;
  void WindowDestroyed() override;

 private:
  DWORD TreeStyle() const;
  void UpdateTreeStyle();
  void CNNotify(TMessage& message);
  void WMKeyDown(TMessage& message);
  // The control asks for an item's text or whether it has children.
  void GetDispInfo(NMTVDISPINFOW& info);

  TTreeNodes items_{*this};
  std::u16string shown_text_;  // the last text handed to the control
  bool read_only_ = false;
  int indent_ = 19;
  bool show_lines_ = true;
  bool show_buttons_ = true;
  bool show_root_ = true;
};

template <>
struct LayoutWriter<TreeViewSettings> {
  using Component = TTreeView;
  static void Write(TTreeView& tree, const TreeViewSettings& s, LayoutContext& context);
};

}  // namespace vexlan
