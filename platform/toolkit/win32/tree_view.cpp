#include "platform/toolkit/win32/tree_view.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/toolkit/win32/menus.h"
#include "platform/utf.h"

namespace vexlan {

namespace {

HWND TreeWindow(const TTreeNodes& nodes) { return nodes.View().BoundWindow(); }

}  // namespace

TTreeNode::TTreeNode(TTreeNodes& owner, TTreeNode* parent, std::string text)
    : owner_(owner), parent_(parent), text_(std::move(text)) {}

int TTreeNode::Level() const {
  int level = 0;
  for (const TTreeNode* p = parent_; p; p = p->parent_) ++level;
  return level;
}

void TTreeNode::SetText(std::string text, bool same_width) {
  text_ = std::move(text);
  const HWND tree = TreeWindow(owner_);
  if (!item_ || !tree || same_width) return;
  // The control asks again, and measures what it gets.
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = item_;
  item.pszText = LPSTR_TEXTCALLBACKW;
  ::SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

bool TTreeNode::Expanded() const {
  const HWND tree = TreeWindow(owner_);
  if (!tree || !item_) return false;
  const auto state = ::SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_EXPANDED);
  return (state & TVIS_EXPANDED) != 0;
}

void TTreeNode::Expand() {
  if (!TreeWindow(owner_)) return;
  owner_.ChildrenIntoControl(this);
  // Zero for a node without children, which stays as it is.
  if (::SendMessageW(TreeWindow(owner_), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item_))) {
    known_expanded_ = true;
  }
}

void TTreeNode::Collapse() {
  const HWND tree = TreeWindow(owner_);
  if (!tree || !item_) return;
  ::SendMessageW(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item_));
  known_expanded_ = false;
}

void TTreeNode::AncestorsExpanded() {
  for (TTreeNode* p = parent_; p; p = p->parent_) p->known_expanded_ = true;
}

void TTreeNode::MakeVisible() {
  const HWND tree = TreeWindow(owner_);
  if (!tree) return;
  if (parent_) owner_.ChildrenIntoControl(parent_);
  // Not every control expands the ancestors on its own; do it outermost first.
  std::vector<TTreeNode*> ancestors;
  for (TTreeNode* p = parent_; p; p = p->parent_) ancestors.push_back(p);
  for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
    if (!(*it)->Expanded()) (*it)->Expand();
  }
  ::SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item_));
  AncestorsExpanded();
}

void TTreeNodes::Check(const TTreeNode* node) const {
  if (node && &node->owner_ != this) throw Exception("The node belongs to another tree");
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
  Check(parent);
  const std::vector<TTreeNode*>& run = RunOf(parent);
  return Insert(parent, run.empty() ? nullptr : run.back(), text);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* parent, TTreeNode* after, const std::string& text) {
  Check(parent);
  Check(after);
  if (after && after->parent_ != parent) throw Exception("The node to insert after has another parent");
  view_.HandleNeeded();
  std::vector<TTreeNode*>& run = RunOf(parent);
  const bool last = after == (run.empty() ? nullptr : run.back());
  std::unique_ptr<TTreeNode> made(new TTreeNode(*this, parent, text));
  TTreeNode* node = made.get();
  node->slot_ = nodes_.size();
  nodes_.push_back(std::move(made));
  if (last) {
    run.push_back(node);
  } else {
    run.insert(after ? std::find(run.begin(), run.end(), after) + 1 : run.begin(), node);
  }
  // TVI_LAST costs the control nothing; any other place, a search.
  if (InControl(parent)) InsertItem(node, last ? TVI_LAST : after ? after->item_ : TVI_FIRST);
  return node;
}

void TTreeNodes::InsertItem(TTreeNode* node, HTREEITEM after) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = node->parent_ ? node->parent_->item_ : TVI_ROOT;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = LPSTR_TEXTCALLBACKW;
  insert.item.cChildren = I_CHILDRENCALLBACK;
  insert.item.lParam = reinterpret_cast<LPARAM>(node);
  node->item_ = reinterpret_cast<HTREEITEM>(
      ::SendMessageW(view_.Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!node->item_) throw Exception("The tree view did not take the node \"" + node->text_ + "\"");
}

void TTreeNodes::ChildrenIntoControl(TTreeNode* node) {
  // Outermost first: a node's children need its item, which its parent's
  // turn gives it. A loop, since windows nest deeper than a stack likes.
  std::vector<TTreeNode*> chain;
  for (TTreeNode* n = node; n && !n->children_in_control_; n = n->parent_) chain.push_back(n);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    TTreeNode* n = *it;
    n->children_in_control_ = true;
    const bool many = n->children_.size() > 32;
    if (many) BeginUpdate();
    for (TTreeNode* child : n->children_) InsertItem(child, TVI_LAST);
    if (many) EndUpdate();
  }
}

void TTreeNodes::OutOfControl(TTreeNode* node) {
  std::vector<TTreeNode*> going{node};
  while (!going.empty()) {
    TTreeNode* n = going.back();
    going.pop_back();
    n->item_ = nullptr;
    n->children_in_control_ = false;
    n->known_expanded_ = false;
    going.insert(going.end(), n->children_.begin(), n->children_.end());
  }
}

void TTreeNodes::Free(TTreeNode* node) {
  std::vector<TTreeNode*> going{node};
  while (!going.empty()) {
    TTreeNode* n = going.back();
    going.pop_back();
    going.insert(going.end(), n->children_.begin(), n->children_.end());
    // The last node takes the freed one's slot.
    const std::size_t slot = n->slot_;
    nodes_[slot].swap(nodes_.back());
    nodes_[slot]->slot_ = slot;
    nodes_.pop_back();
  }
}

void TTreeNodes::Delete(TTreeNode* node) {
  Check(node);
  if (!node) return;
  if (node->item_) {
    if (const HWND tree = TreeWindow(*this)) {
      ::SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->item_));
    }
  }
  std::vector<TTreeNode*>& run = RunOf(node->parent_);
  run.erase(std::find(run.begin(), run.end(), node));
  Free(node);
}

void TTreeNodes::Move(TTreeNode* node, TTreeNode* parent, TTreeNode* after) {
  Check(node);
  Check(parent);
  Check(after);
  for (const TTreeNode* p = parent; p; p = p->parent_) {
    if (p == node) throw Exception("A node cannot go under itself");
  }
  if (after && (after->parent_ != parent || after == node)) throw Exception("The node to move after is no sibling");
  if (node->item_) {
    if (const HWND tree = TreeWindow(*this)) {
      ::SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->item_));
    }
    OutOfControl(node);
  }
  std::vector<TTreeNode*>& from = RunOf(node->parent_);
  from.erase(std::find(from.begin(), from.end(), node));
  std::vector<TTreeNode*>& to = RunOf(parent);
  const bool last = after == (to.empty() ? nullptr : to.back());
  if (last) {
    to.push_back(node);
  } else {
    to.insert(after ? std::find(to.begin(), to.end(), after) + 1 : to.begin(), node);
  }
  node->parent_ = parent;
  if (InControl(parent)) InsertItem(node, last ? TVI_LAST : after ? after->item_ : TVI_FIRST);
}

void TTreeNodes::Clear() {
  Clearing();
  if (const HWND tree = TreeWindow(*this)) {
    BeginUpdate();
    ::SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    EndUpdate();
  }
  nodes_.clear();
  roots_.clear();
}

void TTreeNodes::BeginUpdate() {
  if (update_count_++ == 0) ::SendMessageW(view_.Handle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
  if (update_count_ == 0 || --update_count_ > 0) return;
  if (const HWND tree = TreeWindow(*this)) {
    ::SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(tree, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

TTreeNode* TTreeNodes::NodeFromItem(HTREEITEM item) const {
  const HWND tree = TreeWindow(*this);
  if (!item || !tree) return nullptr;
  TVITEMW query{};
  query.mask = TVIF_HANDLE | TVIF_PARAM;
  query.hItem = item;
  if (!::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query))) return nullptr;
  return reinterpret_cast<TTreeNode*>(query.lParam);
}

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

TTreeView::~TTreeView() {
  // The control deletes its items as its window goes; the nodes must still be there then.
  DestroyBoundWindow();
}

TTreeNode* TTreeView::TopItem() const {
  if (!HandleAllocated()) return nullptr;
  const auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(BoundWindow(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
  return items_.NodeFromItem(item);
}

TTreeNode* TTreeView::Selected() const {
  if (!HandleAllocated()) return nullptr;
  const auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(BoundWindow(), TVM_GETNEXTITEM, TVGN_CARET, 0));
  return items_.NodeFromItem(item);
}

void TTreeView::SetSelected(TTreeNode* node) {
  items_.Check(node);
  if (node && node->parent_) items_.ChildrenIntoControl(node->parent_);
  // Selecting a node expands its ancestors, without telling us.
  ::SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->Handle() : nullptr));
  if (node) node->AncestorsExpanded();
}

void TTreeView::SetTopItem(TTreeNode* node) {
  if (!node) return;
  items_.Check(node);
  if (node->parent_) items_.ChildrenIntoControl(node->parent_);
  ::SendMessageW(Handle(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(node->Handle()));
  node->AncestorsExpanded();
}

void TTreeView::SetReadOnly(bool on) {
  read_only_ = on;
  UpdateTreeStyle();
}

void TTreeView::SetIndent(int pixels) {
  indent_ = pixels;
  if (HandleAllocated() && !Loading()) ::SendMessageW(BoundWindow(), TVM_SETINDENT, static_cast<WPARAM>(pixels), 0);
}

void TTreeView::ChangeScale(int to, int from) {
  TWinControl::ChangeScale(to, from);
  SetIndent(ScaleValue(indent_, to, from));
}

void TTreeView::SetShowLines(bool on) {
  show_lines_ = on;
  UpdateTreeStyle();
}

void TTreeView::SetShowButtons(bool on) {
  show_buttons_ = on;
  UpdateTreeStyle();
}

void TTreeView::SetShowRoot(bool on) {
  show_root_ = on;
  UpdateTreeStyle();
}

DWORD TTreeView::TreeStyle() const {
  return (read_only_ ? 0 : TVS_EDITLABELS) | (show_lines_ ? TVS_HASLINES : 0) |
         (show_buttons_ ? TVS_HASBUTTONS : 0) | (show_root_ ? TVS_LINESATROOT : 0);
}

void TTreeView::UpdateTreeStyle() {
  if (!HandleAllocated() || Loading()) return;
  constexpr DWORD kMask = TVS_EDITLABELS | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT;
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(BoundWindow(), GWL_STYLE));
  ::SetWindowLongPtrW(BoundWindow(), GWL_STYLE, static_cast<LONG_PTR>((style & ~kMask) | TreeStyle()));
  ::InvalidateRect(BoundWindow(), nullptr, TRUE);
}

void TTreeView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WindowClass = WC_TREEVIEWW;
  params.Standard = true;
  params.Style |= TreeStyle();
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TTreeView::CreateWnd() {
  TWinControl::CreateWnd();
  ::SendMessageW(BoundWindow(), TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
  if (items_.update_count_ > 0) ::SendMessageW(BoundWindow(), WM_SETREDRAW, FALSE, 0);
}

void TTreeView::WindowDestroyed() {
  // The control's items are gone with it.
  items_.Clearing();
  items_.nodes_.clear();
  items_.roots_.clear();
}

bool TTreeView::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TTreeView> table[] = {{CN_NOTIFY, &TTreeView::CNNotify},
                                                    {WM_KEYDOWN, &TTreeView::WMKeyDown}};
  return DispatchTable(*this, table, message) || TWinControl::DispatchByNumber(message);
}

void TTreeView::WMKeyDown(TMessage& message) {
  // With nothing selected the control ignores the moving keys: the first of
  // them selects the first node, as gaining the focus does.
  switch (message.WParam) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
      if (!Selected()) {
        const auto first =
            reinterpret_cast<HTREEITEM>(::SendMessageW(BoundWindow(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
        if (first) {
          ::SendMessageW(BoundWindow(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
          return;
        }
      }
      break;
    default:
      break;
  }
  DefaultHandler(message);
}

void TTreeView::GetDispInfo(NMTVDISPINFOW& info) {
  auto* node = reinterpret_cast<TTreeNode*>(info.item.lParam);
  if (!node) return;
  if (info.item.mask & TVIF_TEXT) {
    // The control copies it before it asks again.
    shown_text_ = Utf8ToUtf16(node->text_);
    info.item.pszText = reinterpret_cast<wchar_t*>(shown_text_.data());
  }
  if (info.item.mask & TVIF_CHILDREN) info.item.cChildren = node->children_.empty() ? 0 : 1;
}

void TTreeView::CNNotify(TMessage& message) {
  const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
  if (header->code == TVN_GETDISPINFOW) {
    GetDispInfo(*reinterpret_cast<NMTVDISPINFOW*>(message.LParam));
    return;
  }
  if (header->code == TVN_ITEMEXPANDINGW) {
    // The user opens a node whose children are not in the control yet.
    const auto& change = *reinterpret_cast<const NMTREEVIEWW*>(message.LParam);
    auto* node = reinterpret_cast<TTreeNode*>(change.itemNew.lParam);
    if (node && (change.action & TVE_EXPAND)) items_.ChildrenIntoControl(node);
    message.Result = 0;
    return;
  }
  if (header->code == TVN_SELCHANGEDW || header->code == TVN_SELCHANGEDA) {
    if (OnChange) OnChange(this);
    return;
  }
  if (header->code == static_cast<UINT>(TVN_ITEMEXPANDEDW) || header->code == static_cast<UINT>(TVN_ITEMEXPANDEDA)) {
    // The item's state after the change; both forms share this layout.
    const TVITEMW& item = reinterpret_cast<const NMTREEVIEWW*>(header)->itemNew;
    if (auto* node = reinterpret_cast<TTreeNode*>(item.lParam)) node->known_expanded_ = (item.state & TVIS_EXPANDED) != 0;
    return;
  }
  if (header->code != static_cast<UINT>(NM_RCLICK)) return;
  // A right click acts on the node under the mouse: select it before the
  // control goes on to ask for the context menu (result 0).
  const DWORD pos = ::GetMessagePos();
  TVHITTESTINFO hit{};
  hit.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  ::ScreenToClient(BoundWindow(), &hit.pt);
  const auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(BoundWindow(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (item && (hit.flags & TVHT_ONITEM)) {
    ::SendMessageW(BoundWindow(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  }
  message.Result = 0;
}

POINT TTreeView::KeyboardMenuPoint() {
  if (TTreeNode* node = Selected()) {
    // The message takes the item in the rectangle it fills.
    RECT r{};
    const HTREEITEM item = node->Handle();
    std::memcpy(&r, &item, sizeof item);
    if (::SendMessageW(BoundWindow(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) {
      POINT p{r.left, r.bottom};
      ::ClientToScreen(BoundWindow(), &p);
      return p;
    }
  }
  return TWinControl::KeyboardMenuPoint();
}

void LayoutWriter<TreeViewSettings>::Write(TTreeView& tree, const TreeViewSettings& s, LayoutContext& context) {
  tree.SetReadOnly(s.ReadOnly);
  tree.SetIndent(s.Indent);
  tree.SetShowLines(s.ShowLines);
  tree.SetShowButtons(s.ShowButtons);
  tree.SetShowRoot(s.ShowRoot);
  if (!s.PopupMenu.empty()) tree.SetPopupMenu(&context.Component<TPopupMenu>(s.PopupMenu));
}

}  // namespace vexlan
