// Reads form layouts into the toolkit's real components (TForm::ReadForm),
// whatever kinds a layout holds: each row is made and written by its kind's
// LayoutWriter, which the reader finds where the layout is read.
#pragma once

#include <type_traits>
#include <variant>

#include "platform/toolkit/layout.h"
#include "platform/toolkit/win32/forms.h"

namespace vexlan {

// The form a layout is read into, as the kinds' writers see it.
class FormLayoutContext : public LayoutContext {
 public:
  explicit FormLayoutContext(TForm& form) : form_(form) {}
  TComponent& Form() override { return form_; }
  TPublishedHandler Handler(std::string_view name) override { return form_.FindMethod(name); }

 private:
  TForm& form_;
};

// Writes the form's own settings.
void WriteFormSettings(TForm& form, const FormSettings& settings, LayoutContext& context);
// Puts a control where its row says: parent, bounds, alignment, tab order.
void PlaceControl(TComponent& control, TForm& form, std::string_view parent, const TBounds& bounds, TAlign align,
                  int tab_order);

// Makes each row's component with its kind's LayoutWriter and writes the row.
template <class Settings>
class FormLayoutBuilder {
 public:
  explicit FormLayoutBuilder(TForm& form) : context_(form) {}

  TComponent& Create(TComponent& form, const BasicComponentLayout<Settings>& row) {
    return *std::visit(
        [&](const auto& s) -> TComponent* {
          using Component = typename LayoutWriter<std::decay_t<decltype(s)>>::Component;
          return new Component(&form);
        },
        row.Settings);
  }
  void WriteForm(TComponent& form, const FormSettings& settings) {
    WriteFormSettings(dynamic_cast<TForm&>(form), settings, context_);
  }
  void Write(TComponent& form, TComponent& component, const BasicComponentLayout<Settings>& row) {
    context_.SetParent(row.Parent);
    std::visit(
        [&](const auto& s) {
          using Kind = std::decay_t<decltype(s)>;
          using Writer = LayoutWriter<Kind>;
          if constexpr (Kind::kRole == LayoutRole::Control) {
            PlaceControl(component, dynamic_cast<TForm&>(form), row.Parent, row.Bounds, row.Align, row.TabOrder);
          }
          Writer::Write(dynamic_cast<typename Writer::Component&>(component), s, context_);
        },
        row.Settings);
  }

 private:
  FormLayoutContext context_;
};

}  // namespace vexlan
