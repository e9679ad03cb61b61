#include "platform/toolkit/win32/list_view.h"

#include <algorithm>

#include "platform/toolkit/control_layout.h"
#include "platform/utf.h"

namespace vexlan {

TListView::TListView(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

void TListView::SetColumns(std::span<const ListColumn> columns) {
  columns_.clear();
  for (const ListColumn& c : columns) {
    const std::u16string caption = Utf8ToUtf16(c.Caption);
    columns_.push_back({std::wstring(caption.begin(), caption.end()), c.Width});
  }
}

void TListView::SetRowCount(int count) {
  count = std::max(count, 0);
  if (!HandleAllocated()) {
    rows_ = count;
    return;
  }
  const bool follow = LastRowInView();
  rows_ = count;
  ::SendMessageW(BoundWindow(), LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  if (follow && count > 0) ::SendMessageW(BoundWindow(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(count - 1), FALSE);
}

bool TListView::LastRowInView() const {
  if (!HandleAllocated() || rows_ == 0) return true;
  const auto top = static_cast<int>(::SendMessageW(BoundWindow(), LVM_GETTOPINDEX, 0, 0));
  const auto page = static_cast<int>(::SendMessageW(BoundWindow(), LVM_GETCOUNTPERPAGE, 0, 0));
  return top + std::max(page, 1) >= rows_;
}

std::vector<int> TListView::SelectedRows() const {
  std::vector<int> rows;
  if (!HandleAllocated()) return rows;
  for (int row = -1;;) {
    row = static_cast<int>(::SendMessageW(BoundWindow(), LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (row < 0) break;
    rows.push_back(row);
  }
  return rows;
}

void TListView::ChangeScale(int to, int from) {
  TWinControl::ChangeScale(to, from);
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    columns_[i].width = ScaleValue(columns_[i].width, to, from);
    if (HandleAllocated()) ::SendMessageW(BoundWindow(), LVM_SETCOLUMNWIDTH, i, columns_[i].width);
  }
}

void TListView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WindowClass = WC_LISTVIEWW;
  params.Standard = true;
  params.Style |= LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateWnd() {
  TWinControl::CreateWnd();
  const HWND hwnd = BoundWindow();
  ::SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = columns_[i].caption.data();
    column.cx = columns_[i].width;
    ::SendMessageW(hwnd, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  ::SendMessageW(hwnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows_), 0);
}

bool TListView::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TListView> table[] = {{CN_NOTIFY, &TListView::CNNotify}};
  return DispatchTable(*this, table, message) || TWinControl::DispatchByNumber(message);
}

void TListView::CNNotify(TMessage& message) {
  auto* header = reinterpret_cast<NMHDR*>(message.LParam);
  if (header->code != LVN_GETDISPINFOW) return;
  LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  item.pszText[0] = L'\0';
  if (!OnGetText || item.iItem < 0 || item.iItem >= rows_) return;
  const std::u16string text = Utf8ToUtf16(OnGetText(item.iItem, item.iSubItem));
  const std::u16string_view shown = CutUtf16(text, static_cast<std::size_t>(item.cchTextMax - 1));
  std::copy(shown.begin(), shown.end(), item.pszText);
  item.pszText[shown.size()] = L'\0';
}

void LayoutWriter<ListViewSettings>::Write(TListView& list, const ListViewSettings& s, LayoutContext&) {
  list.SetColumns(s.Columns);
}

}  // namespace vexlan
