// The Styles dialog: the style and extended style of one window, each as a
// hexadecimal value and as a list of its bits by name (the names its class
// gives its low word included), edited either way and applied.
//
// The opener names the window with SetTarget and shows the dialog, which
// reads both values as the system keeps them. Ticking a bit's box changes
// its value, and typing a value ticks the boxes; a field's value (a
// button's type, say) is named in the list and changed by typing. "Apply"
// writes what differs from the window's values (WindowChanger::SetStyles,
// on a worker) and reads the window again; a value that does not read is
// told, and nothing is applied. "Refresh" reads the window again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform_context.h"
#include "platform/toolkit/win32/check_list.h"
#include "platform/toolkit/win32/forms.h"
#include "platform/toolkit/win32/std_controls.h"
#include "platform/window_services.h"
#include "winutil/style_rows.h"

namespace vexlan {

class TForm8 : public TForm {
 public:
  // The dialog reaches other programs' windows through `platform`.
  explicit TForm8(TComponent* owner, const PlatformContext& platform = Platform());
  ~TForm8() override;

  std::string ClassName() const override { return "TForm8"; }
  TPublishedHandler FindMethod(std::string_view name) override;

  TLabel* Label1 = nullptr;
  TLabel* handle = nullptr;
  TLabel* StyleLabel = nullptr;
  TEdit* StyleEdit = nullptr;
  TCheckList* StyleList = nullptr;
  TLabel* ExStyleLabel = nullptr;
  TEdit* ExStyleEdit = nullptr;
  TCheckList* ExStyleList = nullptr;
  TButton* ApplyBtn = nullptr;
  TButton* RefreshBtn = nullptr;

  WindowHandle Target() const { return target_; }
  // Makes `wnd` the target; while the dialog is shown, reads it at once.
  void SetTarget(WindowHandle wnd);
  void OnShow(TObject* Sender);
  void ApplyBtnClick(TObject* Sender);
  void RefreshBtnClick(TObject* Sender);

 private:
  // One of the two values: its field, its list and the rows the list shows.
  struct Value {
    TEdit* edit = nullptr;
    TCheckList* list = nullptr;
    bool extended = false;
    std::uint32_t read = 0;     // as the window had it when read
    std::uint32_t current = 0;  // as the dialog shows it
    std::vector<StyleRow> rows{};
  };
  void ReadTarget();
  // Shows `v.current` in the list, and in the field when `to_field`.
  void ShowValue(Value& v, bool to_field);
  void Typed(Value& v);
  void Ticked(Value& v, int index);

  PlatformContext platform_;
  WindowHandle target_ = 0;
  std::string class_name_;
  Value style_, ex_style_;
  // The dialog is writing a field: its change is not the user's.
  bool writing_ = false;
};

extern TForm8* Form8;

}  // namespace vexlan
