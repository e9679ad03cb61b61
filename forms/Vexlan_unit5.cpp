#include "forms/Vexlan_unit5.h"

#include <algorithm>

#include "forms/Vexlan_unit1.h"
#include "forms/core/Vexlan_unit5_layout.h"
#include "forms/layout_writers.h"
#include "platform/toolkit/win32/clipboard.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/toolkit/win32/dpi.h"
#include "platform/toolkit/sysutils.h"
#include "winutil/window_properties.h"

namespace vexlan {

TForm5* Form5 = nullptr;

namespace {

constexpr PublishedMethod<TForm5> kMethods[] = {
    {"OnShow", &TForm5::OnShow},
    {"RefreshBtnClick", &TForm5::RefreshBtnClick},
    {"CopyBtnClick", &TForm5::CopyBtnClick},
};

// Lines of the list that stay in view however small the dialog is made.
constexpr int kMinListLines = 4;

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
  return text;
}

}  // namespace

TForm5::TForm5(TComponent* owner, const PlatformContext& platform) : TForm(owner), platform_(platform) {
  ReadForm(Form5Layout());
  properties = &LayoutComponent<TMemo>(*this, "properties");
  Panel1 = &LayoutComponent<TPanel>(*this, "Panel1");
  RefreshBtn = &LayoutComponent<TButton>(*this, "RefreshBtn");
  CopyBtn = &LayoutComponent<TButton>(*this, "CopyBtn");
  links = &LayoutComponent<TLinkLabel>(*this, "links");
  links->OnLinkClick = [this](TObject* sender, const std::string& id) { LinksClick(sender, id); };
}

TForm5::~TForm5() {
  if (Form5 == this) Form5 = nullptr;
}

TPublishedHandler TForm5::FindMethod(std::string_view name) { return FindPublishedMethod(*this, kMethods, name); }

void TForm5::SetTarget(WindowHandle wnd) {
  target_ = wnd;
  if (Visible()) ReadTarget();
}

void TForm5::ReadTarget() {
  const WindowFacts facts = ReadWindowFacts(platform_.Windows(), platform_.WindowFacts(), target_);
  lines_ = WindowPropertyLines(facts);
  properties->SetText(Joined(lines_));
  // The handles are numbers: nothing in them can be taken for a mark.
  parent_ = facts.exists ? facts.window.parent : 0;
  owner_ = facts.exists ? facts.window.owner : 0;
  const auto link = [](const char* id, WindowHandle wnd) {
    return wnd ? "<a id=\"" + std::string(id) + "\">" + IntToStr(wnd) + "</a>" : std::string("none");
  };
  links->SetCaption(facts.exists ? "Parent: " + link("parent", parent_) + "    Owner: " + link("owner", owner_) : "");
}

void TForm5::LinksClick(TObject*, const std::string& id) {
  const WindowHandle wnd = id == "parent" ? parent_ : id == "owner" ? owner_ : 0;
  if (wnd == 0) return;
  // Selecting the node makes the dialog follow it; a window the tree does
  // not list is shown without it.
  if (!Form1 || !Form1->Findnodebyhandle(wnd) || target_ != wnd) SetTarget(wnd);
}

void TForm5::OnShow(TObject*) { ReadTarget(); }

void TForm5::RefreshBtnClick(TObject*) { ReadTarget(); }

void TForm5::CopyBtnClick(TObject*) {
  if (!CopyTextToClipboard(Handle(), Joined(lines_))) {
    ShowMessage("The clipboard is in use by another program. Try again.");
  }
}

bool TForm5::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TForm5> table[] = {{WM_GETMINMAXINFO, &TForm5::WMGetMinMaxInfo}};
  return DispatchTable(*this, table, message) || TForm::DispatchByNumber(message);
}

void TForm5::WMGetMinMaxInfo(TMessage& message) {
  DefaultHandler(message);
  if (!Panel1 || !CopyBtn || !HandleAllocated()) return;
  // The buttons are never cut off, and a few lines of the list stay.
  TEXTMETRICW metrics{};
  const HDC dc = ::GetDC(BoundWindow());
  const HGDIOBJ old = ::SelectObject(dc, FontHandle());
  ::GetTextMetricsW(dc, &metrics);
  ::SelectObject(dc, old);
  ::ReleaseDC(BoundWindow(), dc);
  const TBounds& copy = CopyBtn->BoundsRect();
  const RECT client{0, 0, copy.Left + copy.Width + copy.Left,
                    Panel1->BoundsRect().Height + kMinListLines * std::max<int>(metrics.tmHeight, 13)};
  const RECT r = WindowRectForClient(client, static_cast<DWORD>(::GetWindowLongPtrW(BoundWindow(), GWL_STYLE)),
                                     static_cast<DWORD>(::GetWindowLongPtrW(BoundWindow(), GWL_EXSTYLE)), Dpi());
  auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
  info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, r.right - r.left);
  info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, r.bottom - r.top);
}

}  // namespace vexlan
