// The main form: the tree of the desktop's windows with its pop-up menu, and
// the bottom bar of buttons and the handle box.
#pragma once

#include <string_view>
#include <vector>

#include "platform/win32/forms.h"
#include "platform/win32/menus.h"
#include "platform/win32/std_controls.h"
#include "platform/win32/tree_view.h"
#include "platform/win32/win32_window_services.h"
#include "platform/window_services.h"

namespace vexlan {

// One row of the node register: a listed window and the tree node made for it.
struct TNodeEntry {
  WindowHandle Wnd = 0;
  TTreeNode* Node = nullptr;
};

// The node register: one entry per node of the main form's tree, in the order
// the nodes were added (parent before children, siblings in Z order). It owns
// nothing and is emptied by every rebuild; it grows as far as the desktop does.
extern std::vector<TNodeEntry> NodeList;
extern int NodeCount;

class TForm1 : public TForm {
 public:
  // `windows` is how the form reaches other programs' windows.
  explicit TForm1(TComponent* owner, WindowServices& windows = SystemWindowServices());
  // The register's nodes go with the tree.
  ~TForm1() override;

  std::string ClassName() const override { return "TForm1"; }
  TNotifyEvent FindMethod(std::string_view name) override;
  WindowServices& Windows() const { return windows_; }

  // The controls, as the layout made them (the form owns them).
  TTreeView* TreeView1 = nullptr;
  TPanel* AdvancedPanel1 = nullptr;
  TButton* RefreshBtn = nullptr;
  TButton* FindBtn = nullptr;
  TButton* SearchBtn = nullptr;
  TButton* ExitBtn = nullptr;
  TEdit* handle = nullptr;
  TButton* ShowHandleBtn = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* Onlyshownwindows1 = nullptr;

  // The form's creation handler: builds the tree before the form is first shown.
  void OnInit(TObject* Sender);
  // Rebuilds the tree and the register from scratch, top-level windows as
  // roots; redrawing is suspended during the fill and the tree repaints once.
  void RefreshBtnClick(TObject* Sender);
  // Adds `first`, its following siblings and their descendants under `parent`
  // (roots when nullptr), registering each node.
  void AddWindows(WindowHandle first, TTreeNode* parent);
  void RegisterNode(WindowHandle wnd, TTreeNode* node);
  // The handle of the selected node, read back from its caption; 0 when no
  // node is selected.
  WindowHandle SelectedHandle() const;
  // Flips the "only shown windows" filter (the Sender's check mark) and rebuilds.
  void OnlyShownMenuItem1Click(TObject* Sender);
  void FindBtnClick(TObject* Sender);
  void SearchBtnClick(TObject* Sender);
  void ShowHandleBtnClick(TObject* Sender);
  // Closes the main form, which ends the program.
  void ExitBtnClick(TObject* Sender);

 private:
  WindowServices& windows_;
};

extern TForm1* Form1;

}  // namespace vexlan
