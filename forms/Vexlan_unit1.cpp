#include "forms/Vexlan_unit1.h"

#include "forms/core/Vexlan_unit1_layout.h"

namespace vexlan {

TForm1* Form1 = nullptr;

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

TNotifyEvent TForm1::FindMethod(std::string_view name) { return FindPublishedMethod(*this, kMethods, name); }

void TForm1::OnInit(TObject* Sender) { RefreshBtnClick(Sender); }

void TForm1::RefreshBtnClick(TObject*) {
  // The tree of windows is built here; until the window walk joins, the
  // tree stays empty.
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
