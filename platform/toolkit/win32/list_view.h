// A list of rows in columns whose owner gives each cell's text as the list
// draws it (a report list view of LVS_OWNERDATA): the control holds only
// the number of rows, so a million of them cost nothing until they are seen.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/toolkit/control_settings.h"
#include "platform/toolkit/win32/controls.h"

namespace vexlan {

class TListView : public TWinControl {
 public:
  explicit TListView(TComponent* owner);

  // The headings and their widths at 96 DPI; set before the window is made.
  void SetColumns(std::span<const ListColumn> columns);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }

  int RowCount() const { return rows_; }
  // Sets the number of rows. When the last row was in view (or there was
  // none), the new last row is scrolled into view: the list follows what is
  // added at its end unless the user has scrolled up to look at older rows.
  // Rows already shown are not drawn again.
  void SetRowCount(int count);
  // The text of a cell, UTF-8, asked when the cell is drawn.
  std::function<std::string(int row, int column)> OnGetText;

  // Whether the last row is in view (also when there is none).
  bool LastRowInView() const;
  // The selected rows, in order.
  std::vector<int> SelectedRows() const;
  // Column widths scale with the rest.
  void ChangeScale(int to, int from) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  bool DispatchByNumber(TMessage& message) override;

 private:
  void CNNotify(TMessage& message);

  struct Column {
    std::wstring caption;
    int width;  // at the control's DPI
  };
  std::vector<Column> columns_;
  int rows_ = 0;
};

template <>
struct LayoutWriter<ListViewSettings> {
  using Component = TListView;
  static void Write(TListView& list, const ListViewSettings& s, LayoutContext& context);
};

}  // namespace vexlan
