#include "platform/toolkit/win32/menus.h"

#include <algorithm>

#include "platform/toolkit/win32/controls.h"
#include "platform/utf.h"

namespace vexlan {

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  for (TMenuItem* item : items_) item->parent_ = nullptr;
  if (parent_) parent_->Remove(*this);
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

void TMenuItem::Add(TMenuItem& item) {
  if (item.parent_) item.parent_->Remove(item);
  item.parent_ = this;
  items_.push_back(&item);
}

void TMenuItem::Remove(TMenuItem& item) {
  std::erase(items_, &item);
  item.parent_ = nullptr;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner) {}

TPopupMenu::~TPopupMenu() {
  for (TWinControl* control : users_) control->popup_menu_ = nullptr;
}

void TPopupMenu::RemoveUser(TWinControl& control) { std::erase(users_, &control); }

UniqueMenu TPopupMenu::Build(const TMenuItem& parent, std::vector<TMenuItem*>& by_id) const {
  UniqueMenu menu(::CreatePopupMenu());
  for (int i = 0; i < parent.Count(); ++i) {
    TMenuItem& item = parent.Items(i);
    if (item.Caption() == "-") {
      ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const std::u16string caption = Utf8ToUtf16(item.Caption());
    UINT flags = MF_STRING | (item.Checked() ? MF_CHECKED : 0) | (item.Enabled() ? 0 : MF_GRAYED);
    UINT_PTR id = 0;
    if (item.Count() > 0) {
      flags |= MF_POPUP;
      id = reinterpret_cast<UINT_PTR>(Build(item, by_id).release());  // the parent menu owns it now
    } else {
      by_id.push_back(&item);
      id = by_id.size();  // command ids start at 1: 0 means nothing was chosen
    }
    ::AppendMenuW(menu.get(), flags, id, reinterpret_cast<const wchar_t*>(caption.c_str()));
  }
  return menu;
}

void TPopupMenu::PopupFor(TWinControl& control, int x, int y) {
  if (OnPopup) OnPopup(this);
  std::vector<TMenuItem*> by_id;
  const UniqueMenu menu = Build(root_, by_id);
  const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY;
  const auto chosen = static_cast<std::size_t>(::TrackPopupMenuEx(menu.get(), flags, x, y, control.Handle(), nullptr));
  if (chosen >= 1 && chosen <= by_id.size()) by_id[chosen - 1]->Click();
}

void LayoutWriter<MenuItemSettings>::Write(TMenuItem& item, const MenuItemSettings& s, LayoutContext& context) {
  item.SetCaption(std::string(s.Caption));
  item.SetChecked(s.Checked);
  item.OnClick = context.Bind<TNotifyEvent>(s.OnClick);
  if (auto* menu = dynamic_cast<TPopupMenu*>(context.Form().FindComponent(std::string(context.Parent())))) {
    menu->Items().Add(item);
  } else {
    context.Component<TMenuItem>(context.Parent()).Add(item);
  }
}

}  // namespace vexlan
