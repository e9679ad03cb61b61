#include "platform/win32/layout_loader.h"

#include "platform/win32/forms.h"
#include "platform/win32/menus.h"
#include "platform/win32/std_controls.h"
#include "platform/win32/tree_view.h"

namespace vexlan {

namespace {

template <class... Fs>
struct Overloaded : Fs... {
  using Fs::operator()...;
};
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

}  // namespace

TComponent& FormLayoutBuilder::Create(TComponent& form, const ComponentLayout& row) {
  TComponent* created = std::visit(Overloaded{
                                       [&](const TreeViewSettings&) -> TComponent* { return new TTreeView(&form); },
                                       [&](const PanelSettings&) -> TComponent* { return new TPanel(&form); },
                                       [&](const ButtonSettings&) -> TComponent* { return new TButton(&form); },
                                       [&](const EditSettings&) -> TComponent* { return new TEdit(&form); },
                                       [&](const PopupMenuSettings&) -> TComponent* { return new TPopupMenu(&form); },
                                       [&](const MenuItemSettings&) -> TComponent* { return new TMenuItem(&form); },
                                   },
                                   row.Settings);
  return *created;
}

void FormLayoutBuilder::WriteForm(TComponent& component, const FormSettings& s) {
  auto& form = dynamic_cast<TForm&>(component);
  form.SetCaption(std::string(s.Caption));
  form.SetBoundsRect(s.Bounds);
  form.SetSizeable(s.Sizeable);
  if (!s.Font.Name.empty()) form.SetFont(s.Font.Name, s.Font.Height);
  form.OnCreate = form.FindMethod(s.OnCreate);
  form.OnShow = form.FindMethod(s.OnShow);
  form.OnClose = form.FindMethod(s.OnClose);
}

void FormLayoutBuilder::Write(TComponent& component, TComponent& target, const ComponentLayout& row) {
  auto& form = dynamic_cast<TForm&>(component);
  if (auto* control = dynamic_cast<TWinControl*>(&target)) {
    control->SetParent(row.Parent.empty() ? &form : &LayoutComponent<TWinControl>(form, row.Parent));
    control->SetBoundsRect(row.Bounds);
    control->SetAlign(row.Align);
    if (row.TabOrder != kNoTabOrder) control->SetTabOrder(row.TabOrder);
  }
  std::visit(Overloaded{
                 [&](const TreeViewSettings& s) {
                   auto& tree = dynamic_cast<TTreeView&>(target);
                   tree.SetReadOnly(s.ReadOnly);
                   tree.SetIndent(s.Indent);
                   tree.SetShowLines(s.ShowLines);
                   tree.SetShowButtons(s.ShowButtons);
                   tree.SetShowRoot(s.ShowRoot);
                   if (!s.PopupMenu.empty()) tree.SetPopupMenu(&LayoutComponent<TPopupMenu>(form, s.PopupMenu));
                 },
                 [&](const PanelSettings& s) { dynamic_cast<TPanel&>(target).SetCaption(std::string(s.Caption)); },
                 [&](const ButtonSettings& s) {
                   auto& button = dynamic_cast<TButton&>(target);
                   button.SetCaption(std::string(s.Caption));
                   button.OnClick = form.FindMethod(s.OnClick);
                 },
                 [&](const EditSettings& s) { dynamic_cast<TEdit&>(target).SetText(std::string(s.Text)); },
                 [&](const PopupMenuSettings&) {},
                 [&](const MenuItemSettings& s) {
                   auto& item = dynamic_cast<TMenuItem&>(target);
                   item.SetCaption(std::string(s.Caption));
                   item.SetChecked(s.Checked);
                   item.OnClick = form.FindMethod(s.OnClick);
                   if (auto* menu = dynamic_cast<TPopupMenu*>(form.FindComponent(std::string(row.Parent)))) {
                     menu->Items().Add(item);
                   } else {
                     LayoutComponent<TMenuItem>(form, row.Parent).Add(item);
                   }
                 },
             },
             row.Settings);
}

}  // namespace vexlan
