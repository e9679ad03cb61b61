// The Find Element dialog: follows the mouse ten times a second, showing the
// handle, class and caption of the window under it; Ctrl+Q, pressed in any
// program, freezes and resumes it; "Show" selects that window in the main
// form's tree. While it is shown the main form is hidden.
#pragma once

#include <string_view>

#include "components/SysHot.h"
#include "forms/picker_sight.h"
#include "platform/platform_context.h"
#include "platform/toolkit/win32/forms.h"
#include "platform/toolkit/win32/std_controls.h"
#include "platform/toolkit/win32/timer.h"

namespace vexlan {

class TForm3 : public TForm {
 public:
  // Follows the cursor and reads windows through the platform installed now.
  explicit TForm3(TComponent* owner);
  ~TForm3() override;

  std::string ClassName() const override { return "TForm3"; }
  TPublishedHandler FindMethod(std::string_view name) override;

  TLabel* Label1 = nullptr;
  TLabel* Label5 = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* handle = nullptr;
  TButton* ShowBtn = nullptr;
  TLabel* Label3 = nullptr;
  TEdit* classname = nullptr;
  TLabel* Label4 = nullptr;
  TEdit* windowname = nullptr;
  TTimer* Timer1 = nullptr;
  TSysHotKey* SysHotKey1 = nullptr;

  // Hides the main form, starts following the mouse and takes Ctrl+Q (one
  // more entry each showing; the first keeps the combination). While shown
  // the picker and the highlight frame stand above every other window, put
  // back there at every tick (see TPickerSight), and while the main form is
  // hidden the picker has the program's taskbar button.
  void OnShow(TObject* Sender);
  // Shows the main form, stops following and gives Ctrl+Q back; the
  // highlight frame goes and the picker no longer stands on top.
  void OnClose(TObject* Sender);
  // Shows the window under the cursor and puts the highlight frame around
  // it; with none there the fields and the frame stay, and while the user
  // types into the handle field they are left alone.
  void Timer1Timer(TObject* Sender);
  // Ctrl+Q: freezes a running picker, resumes a frozen one. Frozen, the
  // frame still follows its window and the picker stays in sight.
  void OnHotKey(TObject* Sender, int Index);
  // Closes the picker and selects the handle's node in the main form's tree;
  // a window the tree does not list yet is listed by a rebuild first, and
  // "Handle not found." is said when it still is not (the filter leaves it
  // out, or it has gone). An empty field does nothing; text that is no
  // handle is an error for the application's handler, after the picker has
  // closed. Enter anywhere in the picker presses it.
  void ShowBtnClick(TObject* Sender);

 protected:
  bool DispatchByNumber(TMessage& message) override;

 private:
  void SetTaskbarButton(bool on);
  void WMActivateApp(TMessage& message);

  PlatformContext platform_;
  // The user has typed into the handle field since it last had the focus.
  bool typing_ = false;
  TPickerSight sight_;
};

extern TForm3* Form3;

}  // namespace vexlan
