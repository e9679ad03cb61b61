// The main form: the tree of the desktop's windows with its pop-up menu, and
// the bottom bar of buttons and the handle box.
#pragma once

#include <string_view>

#include "platform/win32/forms.h"
#include "platform/win32/menus.h"
#include "platform/win32/std_controls.h"
#include "platform/win32/tree_view.h"
#include "platform/win32/win32_window_services.h"
#include "platform/window_services.h"

namespace vexlan {

class TForm1 : public TForm {
 public:
  // `windows` is how the form reaches other programs' windows.
  explicit TForm1(TComponent* owner, WindowServices& windows = SystemWindowServices());

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
  // Rebuilds the tree of windows.
  void RefreshBtnClick(TObject* Sender);
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
