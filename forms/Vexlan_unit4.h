// The Search List dialog: finds a window in the main form's tree by handle,
// caption and class name, each field that is filled in.
#pragma once

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

  // Searches the main form's tree for every field that is filled in (blanks
  // count), in the order handle, caption, class name, each on its own: the
  // last one found stays selected, and each one not found says so. A handle
  // that is not a decimal number ends the search before anything is looked
  // for, as an error for the application's handler. The dialog stays open
  // and keeps what was typed.
  void SearchBtnClick(TObject* Sender);
  // "Can't find the specified " + what + "."
  static void ReportNotFound(const std::string& what);
};

extern TForm4* Form4;

}  // namespace vexlan
