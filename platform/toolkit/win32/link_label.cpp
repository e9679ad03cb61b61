#include "platform/toolkit/win32/link_label.h"

#include <windows.h>
#include <commctrl.h>

namespace vexlan {

TLinkLabel::TLinkLabel(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

void TLinkLabel::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WindowClass = WC_LINK;
  params.Standard = true;
}

bool TLinkLabel::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TLinkLabel> table[] = {{CN_NOTIFY, &TLinkLabel::CNNotify}};
  return DispatchTable(*this, table, message) || TWinControl::DispatchByNumber(message);
}

void TLinkLabel::CNNotify(TMessage& message) {
  const auto* link = reinterpret_cast<const NMLINK*>(message.LParam);
  if (link->hdr.code != NM_CLICK && link->hdr.code != NM_RETURN) return;
  if (!OnLinkClick) return;
  std::string id;
  for (const wchar_t* c = link->item.szID; *c && id.size() < MAX_LINKID_TEXT; ++c) id += static_cast<char>(*c & 0x7F);
  OnLinkClick(this, id);
}

void LayoutWriter<LinkLabelSettings>::Write(TLinkLabel& label, const LinkLabelSettings& s, LayoutContext&) {
  label.SetCaption(std::string(s.Caption));
}

}  // namespace vexlan
