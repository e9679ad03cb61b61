// The tree view control with its node collection.
//
// Nodes belong to the tree's TTreeNodes, which makes them with AddChild and
// frees them all with Clear (or when the tree goes). A node keeps its whole
// UTF-8 text; the control gets the same text at insertion and maps its items
// back to nodes through the item's lParam.
//
// Cost under Wine, which validates every item handle passed in a message by
// a linear search: AddChild passes one (the parent's), Clear none per node.
// Fill a large tree between BeginUpdate and EndUpdate: painting after every
// insertion makes a fill of thousands of nodes hundreds of times slower.
#pragma once

#include <windows.h>
#include <commctrl.h>

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
  // 0 for a root, one more per ancestor.
  int Level() const { return level_; }
  TTreeNode* Parent() const { return parent_; }
  HTREEITEM Handle() const { return item_; }
  TTreeNodes& Owner() const { return owner_; }

  bool Expanded() const;
  // Whether the node is expanded, without asking the control: the state it
  // reported at the user's every expansion and collapse, or that our own
  // calls gave it (the control reports a programmatic change only the first
  // time a node expands).
  bool KnownExpanded() const { return known_expanded_; }
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
  int level_;
  std::string text_;
  HTREEITEM item_ = nullptr;
  bool known_expanded_ = false;
};

class TTreeNodes {
 public:
  explicit TTreeNodes(TTreeView& view) : view_(view) {}
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  // A new last child of `parent`, or a new last root when `parent` is
  // nullptr. `parent` must be a node of this collection.
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
  // Removes every node (one message to the control, whatever the count).
  void Clear();
  // Runs before the nodes go, by Clear or with the control's window, so that
  // whoever keeps pointers to them can let go first.
  std::function<void()> OnClearing;
  int Count() const { return static_cast<int>(nodes_.size()); }

  // Stops the control from painting until the matching EndUpdate; nested
  // pairs count, and the outermost EndUpdate repaints the control once.
  void BeginUpdate();
  void EndUpdate();

  // The node of a control item, or nullptr for none.
  TTreeNode* NodeFromItem(HTREEITEM item) const;
  TTreeView& View() const { return view_; }

 private:
  friend class TTreeView;
  void Clearing() const {
    if (OnClearing) OnClearing();
  }

  TTreeView& view_;
  std::vector<std::unique_ptr<TTreeNode>> nodes_;
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

  TTreeNodes items_{*this};
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
