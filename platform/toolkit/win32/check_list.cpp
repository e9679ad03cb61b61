#include "platform/toolkit/win32/check_list.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "platform/utf.h"

namespace vexlan {

namespace {

// State image 0 shows no box, 1 an empty one, 2 a ticked one.
UINT StateImage(const std::optional<bool>& checked) {
  return INDEXTOSTATEIMAGEMASK(!checked ? 0 : *checked ? 2 : 1);
}

}  // namespace

TCheckList::TCheckList(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

void TCheckList::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WindowClass = WC_LISTVIEWW;
  params.Standard = true;
  params.Style |= LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCheckList::CreateWnd() {
  TWinControl::CreateWnd();
  const HWND list = BoundWindow();
  const DWORD extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = ClientRect().Width;
  ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  const std::vector<Line> lines = std::exchange(lines_, {});
  SetLines(lines);
}

void TCheckList::WriteLine(int index, bool insert) {
  const Line& line = lines_[static_cast<std::size_t>(index)];
  std::u16string text = Utf8ToUtf16(line.text);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = reinterpret_cast<wchar_t*>(text.data());
  const HWND list = BoundWindow();
  ::SendMessageW(list, insert ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = StateImage(line.checked);
  ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TCheckList::SetLines(std::vector<Line> lines) {
  const std::vector<Line> before = std::exchange(lines_, std::move(lines));
  if (!HandleAllocated()) return;
  const HWND list = BoundWindow();
  writing_ = true;
  ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  const int focused = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  const int top = static_cast<int>(::SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
  const bool same_count = before.size() == lines_.size();
  if (!same_count) ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (!same_count || before[i] != lines_[i]) WriteLine(static_cast<int>(i), !same_count);
  }
  if (!same_count && !lines_.empty()) {
    // Back to where the user was: the old top line at the top, the focus on
    // the line it was on.
    const int last = static_cast<int>(lines_.size()) - 1;
    const int per_page = static_cast<int>(::SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(std::min(top + std::max(per_page, 1) - 1, last)), FALSE);
    ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(std::min(top, last)), FALSE);
    if (focused >= 0) {
      LVITEMW item{};
      item.stateMask = item.state = LVIS_FOCUSED | LVIS_SELECTED;
      ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(std::min(focused, last)), reinterpret_cast<LPARAM>(&item));
    }
  }
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list, nullptr, TRUE);
  writing_ = false;
  FitColumn();
}

void TCheckList::FitColumn() {
  // The one column fills what the scroll bar leaves.
  if (HandleAllocated()) ::SendMessageW(BoundWindow(), LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
}

bool TCheckList::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TCheckList> table[] = {{CN_NOTIFY, &TCheckList::CNNotify}, {WM_SIZE, &TCheckList::WMSize}};
  return DispatchTable(*this, table, message) || TWinControl::DispatchByNumber(message);
}

void TCheckList::WMSize(TMessage& message) {
  DefaultHandler(message);
  FitColumn();
}

void TCheckList::CNNotify(TMessage& message) {
  const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
  if (header->code != LVN_ITEMCHANGED || writing_) return;
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
  if (!(change->uChanged & LVIF_STATE) || !((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK)) return;
  if (change->iItem < 0 || static_cast<std::size_t>(change->iItem) >= lines_.size()) return;
  Line& line = lines_[static_cast<std::size_t>(change->iItem)];
  if (!line.checked) {
    // A line without a box keeps none, whatever the control did.
    writing_ = true;
    WriteLine(change->iItem, false);
    writing_ = false;
    return;
  }
  line.checked = (change->uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
  if (OnCheck) OnCheck(this, change->iItem);
}

}  // namespace vexlan
