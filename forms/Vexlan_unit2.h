// The Show/Edit Text dialog: the whole text of one window, asked of the
// window itself, shown with its length and written back on "Set Text".
//
// The opener names the window with SetTarget, which keeps it in a member
// (the label `handle` only shows it: any program can rewrite a label), then
// shows the dialog; the text is read when the dialog becomes visible, when
// SetTarget names a window while it is shown, and on "Get Text". The dialog
// remembers which window the memo's text was read from, and "Set Text"
// writes only a text read from the target, whole:
//  - a read that did not come to a text (not answered, refused, the window
//    gone) empties the memo and marks it not read, telling why (a window
//    that is gone silently); "Set Text" then refuses ("The text shown was
//    not read from this window. Press Get Text first.");
//  - a text too long to show within the ceiling is shown shortened, its
//    length "showing N of M", and "Set Text" refuses to write it back
//    ("Vexlan does not write back a text it shows shortened.").
// What became of a write is told in the words of OutcomeText.
#pragma once

#include <cstddef>
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

  // Makes `wnd` the target and shows it in the label; while the dialog is
  // shown, reads it at once, as showing the dialog does.
  void SetTarget(WindowHandle wnd);
  // Reads the target's text into the memo and shows its length.
  void OnShow(TObject* Sender);
  // Writes the memo to the target and shows the memo's length, when the
  // memo holds the target's whole text as read (and edited since).
  void SetBtnClick(TObject* Sender);
  // Reads the target's text again, as the dialog does when it is shown.
  void GetBtnClick(TObject* Sender);

  // The captions keep their gap to their values at every DPI.
  void ChangeScale(int to, int from) override;

 private:
  WindowHandle Target() const { return target_; }
  // A face wider than the one the layout was drawn with pushes a caption
  // into its value: the layout's gap between them is kept.
  void KeepLabelGaps();
  void ReadTarget();
  void ShowLength();

  PlatformContext platform_;
  WindowHandle target_ = 0;
  // The window the memo's text was read from; 0 when it holds no text read.
  WindowHandle read_from_ = 0;
  // The memo shows less than the text read; its whole length.
  bool shortened_ = false;
  std::size_t read_units_ = 0;
};

extern TForm2* Form2;

}  // namespace vexlan
