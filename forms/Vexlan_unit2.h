// The Show/Edit Text dialog: the whole text of one window, asked of the
// window itself, shown with its length and written back on "Set Text".
//
// The opener names the window with SetTarget, which writes its decimal handle
// into the label `handle`, then shows the dialog; the text is read when the
// dialog becomes visible, when SetTarget names a window (the same or
// another) while it is shown, and on "Get Text", so the memo always holds
// the text of the window "Set Text" writes to. A window that does not answer in time is told ("The
// window did not answer in time."), for a read and for a write; a read that
// is not answered leaves the memo and the length as they were. A window that
// is gone reads as empty, silently.
#pragma once

#include <string_view>

#include "platform/platform_context.h"
#include "platform/toolkit/win32/forms.h"
#include "platform/toolkit/win32/std_controls.h"
#include "platform/window_services.h"

namespace vexlan {

class TForm2 : public TForm {
 public:
  // The dialog reaches other programs' windows through `platform`.
  explicit TForm2(TComponent* owner, const PlatformContext& platform = Platform());

  ~TForm2() override;

  std::string ClassName() const override { return "TForm2"; }
  TPublishedHandler FindMethod(std::string_view name) override;

  TLabel* Label1 = nullptr;
  TLabel* handle = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* textlength = nullptr;
  TMemo* Edit1 = nullptr;
  TButton* SetBtn = nullptr;
  TButton* GetBtn = nullptr;

  // Names the target in the label; while the dialog is shown, reads it at
  // once, as showing the dialog does.
  void SetTarget(WindowHandle wnd);
  // Reads the target's text into the memo and shows its length.
  void OnShow(TObject* Sender);
  // Writes the memo to the target and shows the memo's length.
  void SetBtnClick(TObject* Sender);
  // Reads the target's text again, as the dialog does when it is shown.
  void GetBtnClick(TObject* Sender);

  // The captions keep their gap to their values at every DPI.
  void ChangeScale(int to, int from) override;

 private:
  WindowHandle Target() const;
  // A face wider than the one the layout was drawn with pushes a caption
  // into its value: the layout's gap between them is kept.
  void KeepLabelGaps();
  void ShowLength();

  PlatformContext platform_;
};

extern TForm2* Form2;

}  // namespace vexlan
