// The Window Properties dialog: what the system keeps of one window, as
// `Name: value` lines (see winutil/window_properties.h), read without
// sending the window anything.
//
// The opener names the window with SetTarget and shows the dialog; while it
// is shown a new target is read at once. "Refresh" reads the window again,
// "Copy" puts the lines on the clipboard. The bar names the window's parent
// and owner as links: following one selects that window's node in the main
// form's tree, and the dialog follows the selection.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform_context.h"
#include "platform/toolkit/win32/forms.h"
#include "platform/toolkit/win32/link_label.h"
#include "platform/toolkit/win32/std_controls.h"
#include "platform/window_services.h"

namespace vexlan {

class TForm5 : public TForm {
 public:
  // The dialog reads other programs' windows through `platform`.
  explicit TForm5(TComponent* owner, const PlatformContext& platform = Platform());
  ~TForm5() override;

  std::string ClassName() const override { return "TForm5"; }
  TPublishedHandler FindMethod(std::string_view name) override;

  TMemo* properties = nullptr;
  TPanel* Panel1 = nullptr;
  TButton* RefreshBtn = nullptr;
  TButton* CopyBtn = nullptr;
  TLinkLabel* links = nullptr;

  WindowHandle Target() const { return target_; }
  void SetTarget(WindowHandle wnd);
  // What the list shows, one property a line.
  const std::vector<std::string>& Lines() const { return lines_; }

  // Reads the target.
  void OnShow(TObject* Sender);
  void RefreshBtnClick(TObject* Sender);
  // The lines, separated by CR LF, as Unicode text; a clipboard another
  // program holds is told to the user.
  void CopyBtnClick(TObject* Sender);
  // Follows the bar's link "parent" or "owner": the window's node is
  // selected in the main form's tree, and the dialog shows the window. A
  // window the tree does not list (left out by "Only shown windows", or
  // newer than the tree) is shown all the same.
  void LinksClick(TObject* Sender, const std::string& id);

 protected:
  bool DispatchByNumber(TMessage& message) override;

 private:
  void ReadTarget();
  void WMGetMinMaxInfo(TMessage& message);

  PlatformContext platform_;
  WindowHandle target_ = 0;
  // The windows the bar's links name; 0 for none.
  WindowHandle parent_ = 0, owner_ = 0;
  std::vector<std::string> lines_;
};

extern TForm5* Form5;

}  // namespace vexlan
