#include "platform/toolkit/layout.h"

#include <map>
#include <set>
#include <utility>

namespace vexlan {

namespace {

// Appended, not "'" + a temporary: g++ 12 at -O3 warns falsely (-Wrestrict) on that.
std::string Quoted(std::string_view s) {
  std::string quoted = "'";
  quoted.append(s);
  quoted += '\'';
  return quoted;
}

// Whether a row of `role` may stand in a parent of `parent` role.
bool Fits(LayoutRole role, LayoutRole parent) {
  switch (role) {
    case LayoutRole::Control:
      return parent == LayoutRole::Control;
    case LayoutRole::MenuItem:
      return parent == LayoutRole::PopupMenu || parent == LayoutRole::MenuItem;
    case LayoutRole::PopupMenu:
    case LayoutRole::NonVisual:
      return false;
  }
  return false;
}

const char* RoleName(LayoutRole role) {
  switch (role) {
    case LayoutRole::Control:
      return "control";
    case LayoutRole::PopupMenu:
      return "pop-up menu";
    case LayoutRole::MenuItem:
      return "menu item";
    case LayoutRole::NonVisual:
      return "non-visual component";
  }
  return "component";
}

}  // namespace

std::vector<std::string> LayoutFaults(std::span<const LayoutRowFacts> rows) {
  std::vector<std::string> faults;
  std::map<std::string_view, const LayoutRowFacts*> declared;
  std::set<std::pair<std::string_view, int>> tab_orders;

  for (const LayoutRowFacts& row : rows) {
    if (row.Name.empty()) {
      faults.push_back("a component has no name");
      continue;
    }
    if (declared.count(row.Name)) faults.push_back("the name " + Quoted(row.Name) + " is used twice");

    if (row.Parent.empty()) {
      if (row.Role == LayoutRole::MenuItem) faults.push_back("the menu item " + Quoted(row.Name) + " has no menu");
    } else if (auto parent = declared.find(row.Parent); parent == declared.end()) {
      faults.push_back(Quoted(row.Name) + " names the parent " + Quoted(row.Parent) +
                       ", which is not declared before it");
    } else if (!Fits(row.Role, parent->second->Role)) {
      faults.push_back(Quoted(row.Name) + " cannot be placed in " + Quoted(row.Parent));
    }

    if (row.TabOrder != kNoTabOrder && !tab_orders.insert({row.Parent, row.TabOrder}).second) {
      faults.push_back(Quoted(row.Name) + " repeats tab order " + std::to_string(row.TabOrder) + " in " +
                       (row.Parent.empty() ? std::string("the form") : Quoted(row.Parent)));
    }
    declared.emplace(row.Name, &row);
  }

  // References may point forwards, so they are checked against the whole table.
  for (const LayoutRowFacts& row : rows) {
    for (const auto& ref : row.References) {
      auto target = declared.find(ref.Name);
      if (target == declared.end() || target->second->Role != ref.Role) {
        faults.push_back(Quoted(row.Name) + " refers to " + Quoted(ref.Name) + ", which is no " + RoleName(ref.Role));
      }
    }
  }
  return faults;
}

void ThrowLayoutFaults(const std::vector<std::string>& faults) {
  if (faults.empty()) return;
  std::string text = "The layout cannot be read:";
  for (const auto& f : faults) text += "\n" + f;
  throw ELayoutError(text);
}

TBounds DesignPlacement(const FormSettings& form) {
  const TBounds& at = form.Bounds;
  if (form.ClientWidth > 0 && form.ClientHeight > 0) return {at.Left, at.Top, form.ClientWidth, form.ClientHeight};
  constexpr int kCaption = 19;
  const int side = form.Sizeable ? 4 : 3;
  return {at.Left, at.Top, at.Width - 2 * side, at.Height - 2 * side - kCaption};
}

}  // namespace vexlan
