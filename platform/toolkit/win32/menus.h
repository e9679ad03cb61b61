// Pop-up menus: a TPopupMenu holds TMenuItems (which may hold items of their
// own); the platform menu is built from them each time it opens, so captions
// and check marks always show their current state.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/toolkit/classes.h"
#include "platform/toolkit/control_settings.h"
#include "platform/toolkit/events.h"
#include "platform/toolkit/win32/handles.h"

namespace vexlan {

class TWinControl;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  // UTF-8; '&' marks the accelerator, "-" makes a separator line.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  bool Checked() const { return checked_; }
  void SetChecked(bool on) { checked_ = on; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }
  TNotifyEvent OnClick;
  // What choosing the item does: OnClick with the item as Sender.
  virtual void Click();

  // Sub-items, in menu order. The owner still owns them.
  void Add(TMenuItem& item);
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem& Items(int index) const { return *items_.at(static_cast<std::size_t>(index)); }
  TMenuItem* Parent() const { return parent_; }

 private:
  friend class TPopupMenu;
  void Remove(TMenuItem& item);

  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
};

class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  // The invisible root item whose sub-items are the menu.
  TMenuItem& Items() { return root_; }
  // Runs each time the menu is about to open, before its items are read:
  // the place to give check marks the state they show.
  TNotifyEvent OnPopup;

  // Opens the menu at a screen point and waits until it is closed; a chosen
  // item's Click runs after the menu has gone. The control is the one the
  // menu was opened for (it owns the menu window while it is open).
  void PopupFor(TWinControl& control, int x, int y);

 private:
  friend class TWinControl;
  void AddUser(TWinControl& control) { users_.push_back(&control); }
  void RemoveUser(TWinControl& control);
  UniqueMenu Build(const TMenuItem& parent, std::vector<TMenuItem*>& by_id) const;

  TMenuItem root_{nullptr};
  std::vector<TWinControl*> users_;  // controls whose PopupMenu this is
};

template <>
struct LayoutWriter<PopupMenuSettings> {
  using Component = TPopupMenu;
  static void Write(TPopupMenu&, const PopupMenuSettings&, LayoutContext&) {}
};
// Adds the item to its parent, a pop-up menu or another item.
template <>
struct LayoutWriter<MenuItemSettings> {
  using Component = TMenuItem;
  static void Write(TMenuItem& item, const MenuItemSettings& s, LayoutContext& context);
};

}  // namespace vexlan
