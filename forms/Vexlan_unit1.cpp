#include "forms/Vexlan_unit1.h"

#include "forms/core/Vexlan_unit1_layout.h"
#include "winutil/window_tree.h"

namespace vexlan {

TForm1* Form1 = nullptr;
std::vector<TNodeEntry> NodeList;
int NodeCount = 0;

namespace {

constexpr PublishedMethod<TForm1> kMethods[] = {
    {"OnInit", &TForm1::OnInit},
    {"RefreshBtnClick", &TForm1::RefreshBtnClick},
    {"OnlyShownMenuItem1Click", &TForm1::OnlyShownMenuItem1Click},
    {"FindBtnClick", &TForm1::FindBtnClick},
    {"SearchBtnClick", &TForm1::SearchBtnClick},
    {"ShowHandleBtnClick", &TForm1::ShowHandleBtnClick},
    {"ExitBtnClick", &TForm1::ExitBtnClick},
};

}  // namespace

TForm1::TForm1(TComponent* owner, WindowServices& windows) : TForm(owner), windows_(windows) {
  ReadForm(Form1Layout());
  TreeView1 = &LayoutComponent<TTreeView>(*this, "TreeView1");
  AdvancedPanel1 = &LayoutComponent<TPanel>(*this, "AdvancedPanel1");
  RefreshBtn = &LayoutComponent<TButton>(*this, "RefreshBtn");
  FindBtn = &LayoutComponent<TButton>(*this, "FindBtn");
  SearchBtn = &LayoutComponent<TButton>(*this, "SearchBtn");
  ExitBtn = &LayoutComponent<TButton>(*this, "ExitBtn");
  handle = &LayoutComponent<TEdit>(*this, "handle");
  ShowHandleBtn = &LayoutComponent<TButton>(*this, "ShowHandleBtn");
  PopupMenu1 = &LayoutComponent<TPopupMenu>(*this, "PopupMenu1");
  Onlyshownwindows1 = &LayoutComponent<TMenuItem>(*this, "Onlyshownwindows1");
}

TForm1::~TForm1() {
  NodeList.clear();
  NodeCount = 0;
}

TNotifyEvent TForm1::FindMethod(std::string_view name) { return FindPublishedMethod(*this, kMethods, name); }

void TForm1::OnInit(TObject* Sender) { RefreshBtnClick(Sender); }

namespace {
// Holds the tree's painting for a scope, however the scope is left.
class UpdateScope {
 public:
  explicit UpdateScope(TTreeNodes& nodes) : nodes_(nodes) { nodes_.BeginUpdate(); }
  ~UpdateScope() { nodes_.EndUpdate(); }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  TTreeNodes& nodes_;
};
}  // namespace

void TForm1::RefreshBtnClick(TObject*) {
  const WindowHandle first = windows_.TopWindow();
  TTreeNodes& nodes = TreeView1->Items();
  UpdateScope frozen(nodes);
  // The register first: it must never point at nodes that are gone.
  NodeList.clear();
  NodeCount = 0;
  nodes.Clear();
  AddWindows(first, TreeView1->TopItem());
}

void TForm1::AddWindows(WindowHandle first, TTreeNode* parent) {
  const std::vector<WindowRow> rows = WalkWindows(windows_, first, Onlyshownwindows1->Checked());
  TTreeNodes& nodes = TreeView1->Items();
  UpdateScope frozen(nodes);
  NodeList.reserve(NodeList.size() + rows.size());
  std::vector<TTreeNode*> made(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const WindowRow& row = rows[i];
    TTreeNode* under = row.parent < 0 ? parent : made[static_cast<std::size_t>(row.parent)];
    made[i] = nodes.AddChild(under, row.caption);
    RegisterNode(row.wnd, made[i]);
  }
}

void TForm1::RegisterNode(WindowHandle wnd, TTreeNode* node) {
  NodeList.push_back({wnd, node});
  NodeCount = static_cast<int>(NodeList.size());
}

WindowHandle TForm1::SelectedHandle() const {
  const TTreeNode* node = TreeView1->Selected();
  if (!node) return 0;
  return HandleFromNodeCaption(node->Text()).value_or(0);
}

void TForm1::OnlyShownMenuItem1Click(TObject* Sender) {
  if (auto* item = dynamic_cast<TMenuItem*>(Sender)) item->SetChecked(!item->Checked());
  RefreshBtnClick(Sender);
}

void TForm1::FindBtnClick(TObject*) {}

void TForm1::SearchBtnClick(TObject*) {}

void TForm1::ShowHandleBtnClick(TObject*) {}

void TForm1::ExitBtnClick(TObject*) { Close(); }

}  // namespace vexlan
