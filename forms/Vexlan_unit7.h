// The Move and Size dialog: the place and size of one window, in its
// parent's client coordinates for a child window (on the screen for
// another), typed and applied.
//
// The opener names the window with SetTarget and shows the dialog, which
// fills the fields with the window's rectangle as the system keeps it;
// "Apply" reads Left, Top, Width and Height and hands them to the window's
// thread (WindowChanger::MoveAndSize), never waiting for it. A field that
// does not read is told, and nothing is applied.
#pragma once

#include <string_view>

#include "platform/platform_context.h"
#include "platform/toolkit/win32/forms.h"
#include "platform/toolkit/win32/std_controls.h"
#include "platform/window_services.h"

namespace vexlan {

class TForm7 : public TForm {
 public:
  // The dialog reaches other programs' windows through `platform`.
  explicit TForm7(TComponent* owner, const PlatformContext& platform = Platform());
  ~TForm7() override;

  std::string ClassName() const override { return "TForm7"; }
  TPublishedHandler FindMethod(std::string_view name) override;

  TLabel* Label1 = nullptr;
  TLabel* handle = nullptr;
  TLabel* LeftLabel = nullptr;
  TEdit* LeftEdit = nullptr;
  TLabel* TopLabel = nullptr;
  TEdit* TopEdit = nullptr;
  TLabel* WidthLabel = nullptr;
  TEdit* WidthEdit = nullptr;
  TLabel* HeightLabel = nullptr;
  TEdit* HeightEdit = nullptr;
  TButton* ApplyBtn = nullptr;

  WindowHandle Target() const { return target_; }
  // Makes `wnd` the target; while the dialog is shown, reads it at once.
  void SetTarget(WindowHandle wnd);
  // Fills the fields with the target's place and size.
  void OnShow(TObject* Sender);
  void ApplyBtnClick(TObject* Sender);

 private:
  void ReadTarget();

  PlatformContext platform_;
  WindowHandle target_ = 0;
};

extern TForm7* Form7;

}  // namespace vexlan
