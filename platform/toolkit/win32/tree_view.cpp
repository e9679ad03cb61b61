#include "platform/toolkit/win32/tree_view.h"

#include <cstring>
#include <utility>

#include "platform/toolkit/win32/menus.h"
#include "platform/utf.h"

namespace vexlan {

namespace {

HWND TreeWindow(const TTreeNodes& nodes) { return nodes.View().BoundWindow(); }

}  // namespace

TTreeNode::TTreeNode(TTreeNodes& owner, TTreeNode* parent, std::string text)
    : owner_(owner), parent_(parent), level_(parent ? parent->level_ + 1 : 0), text_(std::move(text)) {}

bool TTreeNode::Expanded() const {
  const HWND tree = TreeWindow(owner_);
  if (!tree) return false;
  const auto state = ::SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_EXPANDED);
  return (state & TVIS_EXPANDED) != 0;
}

void TTreeNode::Expand() {
  if (const HWND tree = TreeWindow(owner_)) {
    // Zero for a node without children, which stays as it is.
    if (::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item_))) known_expanded_ = true;
  }
}

void TTreeNode::Collapse() {
  if (const HWND tree = TreeWindow(owner_)) {
    ::SendMessageW(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item_));
    known_expanded_ = false;
  }
}

void TTreeNode::AncestorsExpanded() {
  for (TTreeNode* p = parent_; p; p = p->parent_) p->known_expanded_ = true;
}

void TTreeNode::MakeVisible() {
  const HWND tree = TreeWindow(owner_);
  if (!tree) return;
  // Not every control expands the ancestors on its own; do it outermost first.
  std::vector<TTreeNode*> ancestors;
  for (TTreeNode* p = parent_; p; p = p->parent_) ancestors.push_back(p);
  for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
    if (!(*it)->Expanded()) (*it)->Expand();
  }
  ::SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item_));
  AncestorsExpanded();
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
  if (parent && &parent->owner_ != this) throw Exception("The parent node belongs to another tree");
  const HWND tree = view_.Handle();
  std::unique_ptr<TTreeNode> node(new TTreeNode(*this, parent, text));
  const std::u16string wide = Utf8ToUtf16(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent ? parent->item_ : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(wide.c_str()));
  insert.item.lParam = reinterpret_cast<LPARAM>(node.get());
  node->item_ = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!node->item_) throw Exception("The tree view did not take the node \"" + text + "\"");
  nodes_.push_back(std::move(node));
  return nodes_.back().get();
}

void TTreeNodes::Clear() {
  Clearing();
  if (const HWND tree = TreeWindow(*this)) {
    BeginUpdate();
    ::SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    EndUpdate();
  }
  nodes_.clear();
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
  if (node && &node->Owner() != &items_) throw Exception("The node belongs to another tree");
  // Selecting a node expands its ancestors, without telling us.
  ::SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->Handle() : nullptr));
  if (node) node->AncestorsExpanded();
}

void TTreeView::SetTopItem(TTreeNode* node) {
  if (!node) return;
  if (&node->Owner() != &items_) throw Exception("The node belongs to another tree");
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

void TTreeView::CNNotify(TMessage& message) {
  const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
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
