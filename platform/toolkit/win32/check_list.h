// A list of lines, each with a box the user ticks, or none: a report list
// view with check boxes, one column, no header. Space or a click on a box
// flips it and tells OnCheck; the program's own changes tell nothing.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/toolkit/control_settings.h"
#include "platform/toolkit/win32/controls.h"

namespace vexlan {

// The user flipped line `Index`'s box.
using TCheckEvent = std::function<void(TObject* Sender, int Index)>;

class TCheckList : public TWinControl {
 public:
  struct Line {
    std::string text;
    std::optional<bool> checked;  // nothing: the line has no box
    friend bool operator==(const Line&, const Line&) = default;
  };

  explicit TCheckList(TComponent* owner);

  // Replaces the lines. Lines that stay where they were keep their place on
  // the screen; the focused line stays focused while it exists.
  void SetLines(std::vector<Line> lines);
  const std::vector<Line>& Lines() const { return lines_; }
  TCheckEvent OnCheck;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  bool DispatchByNumber(TMessage& message) override;

 private:
  void CNNotify(TMessage& message);
  void WMSize(TMessage& message);
  // Writes line `index` into the control, as a new item when `insert`.
  void WriteLine(int index, bool insert);
  void FitColumn();

  std::vector<Line> lines_;
  // The program is writing the control: its item changes are not the user's.
  bool writing_ = false;
};

template <>
struct LayoutWriter<CheckListSettings> {
  using Component = TCheckList;
  static void Write(TCheckList&, const CheckListSettings&, LayoutContext&) {}
};

}  // namespace vexlan
