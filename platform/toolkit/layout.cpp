#include "platform/toolkit/layout.h"

#include <map>
#include <set>
#include <utility>

namespace vexlan {

namespace {

bool IsMenuItem(const ComponentLayout& row) { return std::holds_alternative<MenuItemSettings>(row.Settings); }
bool IsMenuContainer(const ComponentLayout& row) {
  return std::holds_alternative<PopupMenuSettings>(row.Settings) || IsMenuItem(row);
}

std::string Quoted(std::string_view s) { return "'" + std::string(s) + "'"; }

}  // namespace

std::vector<std::string> LayoutFaults(const FormLayout& layout) {
  std::vector<std::string> faults;
  std::map<std::string_view, const ComponentLayout*> declared;
  std::set<std::pair<std::string_view, int>> tab_orders;

  for (const ComponentLayout& row : layout.Components) {
    if (row.Name.empty()) {
      faults.push_back("a component has no name");
      continue;
    }
    if (declared.count(row.Name)) faults.push_back("the name " + Quoted(row.Name) + " is used twice");

    const bool is_menu = std::holds_alternative<PopupMenuSettings>(row.Settings);
    if (row.Parent.empty()) {
      if (IsMenuItem(row)) faults.push_back("the menu item " + Quoted(row.Name) + " has no menu");
    } else if (auto parent = declared.find(row.Parent); parent == declared.end()) {
      faults.push_back(Quoted(row.Name) + " names the parent " + Quoted(row.Parent) +
                       ", which is not declared before it");
    } else {
      // Menu items hang in menus, controls in controls; a pop-up menu belongs to the form alone.
      const bool fits = IsMenuItem(row) ? IsMenuContainer(*parent->second)
                                        : !is_menu && !IsMenuContainer(*parent->second);
      if (!fits) faults.push_back(Quoted(row.Name) + " cannot be placed in " + Quoted(row.Parent));
    }

    if (row.TabOrder != kNoTabOrder && !tab_orders.insert({row.Parent, row.TabOrder}).second) {
      faults.push_back(Quoted(row.Name) + " repeats tab order " + std::to_string(row.TabOrder) + " in " +
                       (row.Parent.empty() ? std::string("the form") : Quoted(row.Parent)));
    }
    declared.emplace(row.Name, &row);
  }

  // References may point forwards, so they are checked against the whole table.
  for (const ComponentLayout& row : layout.Components) {
    if (const auto* tree = std::get_if<TreeViewSettings>(&row.Settings); tree && !tree->PopupMenu.empty()) {
      auto menu = declared.find(tree->PopupMenu);
      if (menu == declared.end() || !std::holds_alternative<PopupMenuSettings>(menu->second->Settings)) {
        faults.push_back(Quoted(row.Name) + " refers to " + Quoted(tree->PopupMenu) + ", which is no pop-up menu");
      }
    }
  }
  return faults;
}

void ReadLayout(TComponent& form, const FormLayout& layout, LayoutBuilder& builder) {
  if (auto faults = LayoutFaults(layout); !faults.empty()) {
    std::string text = "The layout cannot be read:";
    for (const auto& f : faults) text += "\n" + f;
    throw ELayoutError(text);
  }

  std::vector<TComponent*> components;
  components.reserve(layout.Components.size());
  form.BeginLoading();
  for (const ComponentLayout& row : layout.Components) {
    TComponent& c = builder.Create(form, row);
    c.SetName(std::string(row.Name));
    c.BeginLoading();
    components.push_back(&c);
  }

  builder.WriteForm(form, layout.Form);
  for (std::size_t i = 0; i < components.size(); ++i) builder.Write(form, *components[i], layout.Components[i]);

  form.Loaded();
  for (TComponent* c : components) c->Loaded();
}

}  // namespace vexlan
