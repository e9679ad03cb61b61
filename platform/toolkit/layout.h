// Form layouts as data, and the reading of a layout into components.
//
// A layout is a typed, constant table: the form's own settings and one row
// per component in creation order. Each kind of component brings its own
// settings struct, and a program lists the kinds its layouts hold once, as
// the alternatives of one std::variant (see forms/core/layout_kinds.h). A
// settings struct says what role its components play:
//   static constexpr LayoutRole kRole;
// and, when it names other components of the form, lists those names:
//   void ForEachReference(auto&& visit) const;   // visit(name, required role)
// How a kind's component is made and its settings written is the kind's
// LayoutWriter (below), defined with the component.
//
// Reading a layout works like reading a form file: first every component is
// created and put into the loading state, then all properties are written
// (so a row may name a component declared after it, such as a tree's pop-up
// menu), then each component's Loaded runs once, the form first and then the
// rows in table order. Property writers store without acting while a
// component is loading; Loaded is where a component acts on what it was given.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/toolkit/classes.h"
#include "platform/toolkit/control_layout.h"
#include "platform/toolkit/events.h"

namespace vexlan {

// A layout that cannot be read: unknown or repeated names, a parent declared
// after its child, a handler the form does not have or of the wrong kind.
class ELayoutError : public Exception {
 public:
  using Exception::Exception;
};

// Where a component stands in a form: what may hold it, and what it may hold.
enum class LayoutRole {
  Control,    // a windowed control: in the form or in another control
  PopupMenu,  // belongs to the form; holds menu items
  MenuItem,   // in a pop-up menu or another menu item
  NonVisual,  // belongs to the form; holds nothing (a timer, say)
};

struct TFontSettings {
  std::string_view Name{};
  int Height = 0;  // negative: character height in pixels, as the platform takes it
};

// Handler names refer to the form's published methods; "" means none.
struct FormSettings {
  std::string_view Caption{};
  // Screen position and outer size. With a client size given, only the
  // position is taken from here and the frame is fitted around the client area.
  TBounds Bounds{};
  int ClientWidth = 0;
  int ClientHeight = 0;
  // A form that is not sizeable is a dialog: a fixed dialog frame, kept in
  // front of the main form, closed by Escape as by its close box.
  bool Sizeable = true;
  // A sizeable form that is a dialog all the same: a sizing frame, and kept
  // in front of the main form and closed by Escape like any dialog.
  bool Dialog = false;
  TFontSettings Font{};
  std::string_view OnCreate{};
  std::string_view OnShow{};
  std::string_view OnClose{};
};

// Where a form stands and how large its client area is, at 96 DPI: the client
// size given, or else what the outer size leaves inside the frame layouts were
// drawn with, the classic one (a 4-pixel sizing or 3-pixel dialog frame on
// each side and a 19-pixel caption). Frames today differ with the system, its
// theme and the DPI; a form fits its real frame around this client area.
TBounds DesignPlacement(const FormSettings& form);

inline constexpr int kNoTabOrder = -1;

template <class SettingsVariant>
struct BasicComponentLayout {
  std::string_view Name{};
  std::string_view Parent{};  // "" for the form; a menu item's parent is its menu
  TBounds Bounds{};           // controls only
  TAlign Align = alNone;      // controls only
  int TabOrder = kNoTabOrder;  // controls only
  SettingsVariant Settings{};
};

template <class Settings>
struct BasicFormLayout {
  FormSettings Form{};
  std::span<const BasicComponentLayout<Settings>> Components{};
};

// What the checks need to know of one row, whatever its kind.
struct LayoutRowFacts {
  std::string_view Name, Parent;
  LayoutRole Role = LayoutRole::Control;
  int TabOrder = kNoTabOrder;
  struct Reference {
    std::string_view Name;
    LayoutRole Role;
  };
  std::vector<Reference> References;
};

// What is wrong with a layout, one line per fault; empty when it can be read.
// Checks names (present, unique), parents (declared earlier and able to hold
// the row: a menu item under a menu or menu item, a control under a control,
// menus and non-visual components in the form), tab orders (no two alike
// under one parent) and references to other components (present, of the
// needed role).
std::vector<std::string> LayoutFaults(std::span<const LayoutRowFacts> rows);

template <class Settings>
std::vector<LayoutRowFacts> RowFacts(const BasicFormLayout<Settings>& layout) {
  std::vector<LayoutRowFacts> facts;
  for (const auto& row : layout.Components) {
    LayoutRowFacts& f = facts.emplace_back();
    f.Name = row.Name;
    f.Parent = row.Parent;
    f.TabOrder = row.TabOrder;
    std::visit(
        [&](const auto& s) {
          f.Role = std::decay_t<decltype(s)>::kRole;
          if constexpr (requires { s.ForEachReference([](std::string_view, LayoutRole) {}); }) {
            s.ForEachReference([&](std::string_view name, LayoutRole role) {
              if (!name.empty()) f.References.push_back({name, role});
            });
          }
        },
        row.Settings);
  }
  return facts;
}

template <class Settings>
std::vector<std::string> LayoutFaults(const BasicFormLayout<Settings>& layout) {
  const std::vector<LayoutRowFacts> facts = RowFacts(layout);
  return LayoutFaults(facts);
}

// Throws ELayoutError listing the faults, when there are any.
void ThrowLayoutFaults(const std::vector<std::string>& faults);

// Reads `layout` into `form` through `builder` (see the top of this file),
// which has:
//   TComponent& Create(TComponent& form, const Row& row);   a new component owned by the form
//   void WriteForm(TComponent& form, const FormSettings& settings);
//   void Write(TComponent& form, TComponent& component, const Row& row);
// Throws ELayoutError for a faulty layout before anything is created; an
// exception from the builder leaves what was created owned by the form.
template <class Settings, class Builder>
void ReadLayout(TComponent& form, const BasicFormLayout<Settings>& layout, Builder& builder) {
  ThrowLayoutFaults(LayoutFaults(layout));
  std::vector<TComponent*> components;
  components.reserve(layout.Components.size());
  form.BeginLoading();
  for (const auto& row : layout.Components) {
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

// The component named `name` that `form` owns, as a T; ELayoutError when
// there is none of that name and type.
template <class T>
T& LayoutComponent(const TComponent& form, std::string_view name) {
  auto* found = dynamic_cast<T*>(form.FindComponent(std::string(name)));
  if (!found) throw ELayoutError("The layout has no component '" + std::string(name) + "' of the needed kind");
  return *found;
}

// A form's handler bound to the form, of one of the event shapes layouts bind.
using TPublishedHandler = std::variant<TNotifyEvent, THotKeyEvent>;

// One entry of a form's table of published handlers, found by name when a
// layout binds its events.
template <class Form>
struct PublishedMethod {
  std::string_view Name{};
  std::variant<void (Form::*)(TObject* Sender), void (Form::*)(TObject* Sender, int Index)> Method;
};

// The handler `name` of `form` from its table, bound to the form; ELayoutError
// for a name the table lacks.
template <class Form, std::size_t N>
TPublishedHandler FindPublishedMethod(Form& form, const PublishedMethod<Form> (&table)[N], std::string_view name) {
  for (const auto& entry : table) {
    if (entry.Name != name) continue;
    return std::visit(
        [&form](auto method) -> TPublishedHandler {
          using M = decltype(method);
          if constexpr (std::is_same_v<M, void (Form::*)(TObject*)>) {
            return TNotifyEvent([&form, method](TObject* sender) { (form.*method)(sender); });
          } else {
            return THotKeyEvent([&form, method](TObject* sender, int index) { (form.*method)(sender, index); });
          }
        },
        entry.Method);
  }
  throw ELayoutError("The form has no handler '" + std::string(name) + "'");
}

// What a kind's writer may ask of the form being read.
class LayoutContext {
 public:
  virtual ~LayoutContext() = default;
  virtual TComponent& Form() = 0;
  // The handler `name` of the form; ELayoutError when there is none.
  virtual TPublishedHandler Handler(std::string_view name) = 0;

  // The handler `name` as the event type the component takes; empty for "";
  // ELayoutError for an unknown name or a handler of other parameters.
  template <class Event>
  Event Bind(std::string_view name) {
    if (name.empty()) return {};
    TPublishedHandler handler = Handler(name);
    if (auto* event = std::get_if<Event>(&handler)) return std::move(*event);
    throw ELayoutError("The handler '" + std::string(name) + "' does not take the parameters of its event");
  }
  template <class T>
  T& Component(std::string_view name) {
    return LayoutComponent<T>(Form(), name);
  }
  // The parent named by the row being written ("" for the form).
  std::string_view Parent() const { return parent_; }
  void SetParent(std::string_view parent) { parent_ = parent; }

 private:
  std::string_view parent_;
};

// How the components of one kind of settings are made and written; each kind
// has its own version of it beside its component:
//   using Component = ...;    made with `new Component(&form)`
//   static void Write(Component& c, const Settings& s, LayoutContext& context);
// The row's place (parent, bounds, alignment, tab order) is written by the
// reader for controls; Write finds the row's parent name in context.Parent().
template <class Settings>
struct LayoutWriter;

}  // namespace vexlan
