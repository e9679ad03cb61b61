// Form layouts as data, and the reading of a layout into components.
//
// A layout is a typed, constant table: the form's own settings and one row
// per component in creation order. Reading it works like reading a form
// file: first every component is created and put into the loading state,
// then all properties are written (so a row may name a component declared
// after it, such as a tree's pop-up menu), then each component's Loaded runs
// once, the form first and then the rows in table order. Property writers
// store without acting while a component is loading; Loaded is where a
// component acts on what it was given.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/toolkit/classes.h"
#include "platform/toolkit/control_layout.h"
#include "platform/toolkit/events.h"

namespace vexlan {

// A layout that cannot be read: unknown or repeated names, a parent declared
// after its child, a handler the form does not have.
class ELayoutError : public Exception {
 public:
  using Exception::Exception;
};

struct TFontSpec {
  std::string_view Name{};
  int Height = 0;  // negative: character height in pixels, as the platform takes it
};

// Handler names refer to the form's published methods; "" means none.
struct FormSettings {
  std::string_view Caption{};
  TBounds Bounds{};  // screen position and outer size
  bool Sizeable = true;
  TFontSpec Font{};
  std::string_view OnCreate{};
  std::string_view OnShow{};
  std::string_view OnClose{};
};

struct TreeViewSettings {
  bool ReadOnly = false;
  int Indent = 19;
  bool ShowLines = true;
  bool ShowButtons = true;
  bool ShowRoot = true;
  std::string_view PopupMenu{};
};

struct PanelSettings {
  std::string_view Caption{};
};

struct ButtonSettings {
  std::string_view Caption{};
  std::string_view OnClick{};
};

struct EditSettings {
  std::string_view Text{};
};

struct PopupMenuSettings {};

struct MenuItemSettings {
  std::string_view Caption{};
  bool Checked = false;
  std::string_view OnClick{};
};

using ComponentSettings = std::variant<TreeViewSettings, PanelSettings, ButtonSettings, EditSettings,
                                       PopupMenuSettings, MenuItemSettings>;

inline constexpr int kNoTabOrder = -1;

struct ComponentLayout {
  std::string_view Name{};
  std::string_view Parent{};  // "" for the form; a menu item's parent is its menu
  TBounds Bounds{};
  TAlign Align = alNone;
  int TabOrder = kNoTabOrder;
  ComponentSettings Settings{};
};

struct FormLayout {
  FormSettings Form{};
  std::span<const ComponentLayout> Components{};
};

// What is wrong with a layout, one line per fault; empty when it can be read.
// Checks names (present, unique), parents (declared earlier, a menu item
// under a menu or menu item, a control under a control), tab orders (no two
// alike under one parent) and references to other components.
std::vector<std::string> LayoutFaults(const FormLayout& layout);

// Makes and fills the components of a layout; the toolkit's implementation
// knows the real controls, tests bring their own.
class LayoutBuilder {
 public:
  virtual ~LayoutBuilder() = default;
  // A new component for `row`, owned by `form`.
  virtual TComponent& Create(TComponent& form, const ComponentLayout& row) = 0;
  virtual void WriteForm(TComponent& form, const FormSettings& settings) = 0;
  virtual void Write(TComponent& form, TComponent& component, const ComponentLayout& row) = 0;
};

// Reads `layout` into `form` (see the top of this file). Throws ELayoutError
// for a faulty layout before anything is created; an exception from the
// builder leaves what was created owned by the form.
void ReadLayout(TComponent& form, const FormLayout& layout, LayoutBuilder& builder);

// The component named `name` that `form` owns, as a T; ELayoutError when
// there is none of that name and type.
template <class T>
T& LayoutComponent(const TComponent& form, std::string_view name) {
  auto* found = dynamic_cast<T*>(form.FindComponent(std::string(name)));
  if (!found) throw ELayoutError("The layout has no component '" + std::string(name) + "' of the needed kind");
  return *found;
}

// One entry of a form's table of published handlers, found by name when a
// layout binds its events.
template <class Form>
struct PublishedMethod {
  std::string_view Name{};
  void (Form::*Method)(TObject* Sender);
};

// The handler `name` of `form` from its table, bound to the form; empty for
// an empty name; ELayoutError for a name the table lacks.
template <class Form, std::size_t N>
TNotifyEvent FindPublishedMethod(Form& form, const PublishedMethod<Form> (&table)[N], std::string_view name) {
  if (name.empty()) return {};
  for (const auto& entry : table) {
    if (entry.Name == name) {
      auto method = entry.Method;
      return [&form, method](TObject* sender) { (form.*method)(sender); };
    }
  }
  throw ELayoutError("The form has no handler '" + std::string(name) + "'");
}

}  // namespace vexlan
