// The Search List dialog: finds a window in the main form's tree by handle,
// caption and class name, each field that is filled in.
#pragma once

#include <string>
#include <string_view>

#include "platform/toolkit/win32/forms.h"
#include "platform/toolkit/win32/std_controls.h"

namespace vexlan {

class TForm4 : public TForm {
 public:
  explicit TForm4(TComponent* owner);

  ~TForm4() override;

  std::string ClassName() const override { return "TForm4"; }
  TPublishedHandler FindMethod(std::string_view name) override;

  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* handle = nullptr;
  TLabel* Label5 = nullptr;
  TLabel* Label3 = nullptr;
  TEdit* classname = nullptr;
  TLabel* Label4 = nullptr;
  TEdit* windowname = nullptr;
  TButton* SearchBtn = nullptr;
  TButton* FindNextBtn = nullptr;

  // Searches the main form's tree for every field that is filled in (blanks
  // count), in the order handle, caption, class name, each on its own: the
  // last one found stays selected, and each one not found says so. A handle
  // that is not a decimal number ends the search before anything is looked
  // for, as an error for the application's handler. The dialog stays open
  // and keeps what was typed.
  void SearchBtnClick(TObject* Sender);
  // Selects the next window after the tree's selected node, in tree order
  // and wrapping around, that matches every filled field at once, each as
  // "Search List" matches it (see TForm1::FindNextNode); "No more windows
  // match." when no other window does. All fields empty, or a handle that
  // is not a decimal number, are told as "Search List" tells them.
  void FindNextBtnClick(TObject* Sender);
  // F3 in the main window: Find Next, or, with every field empty, the dialog
  // shown to fill them in.
  void FindNextOrAsk();
  // "Can't find the specified " + what + "."
  static void ReportNotFound(const std::string& what);
  // F3 is Find Next.
  bool IsShortCut(const MSG& msg) override;

 private:
  bool AllEmpty() const;
};

extern TForm4* Form4;

}  // namespace vexlan
