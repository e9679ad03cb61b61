// Reads form layouts into the toolkit's real components.
#pragma once

#include "platform/toolkit/layout.h"

namespace vexlan {

// Creates each row's component (a TTreeView for TreeViewSettings, and so
// on) and writes the row through the component's property writers; the
// form must be a TForm, whose FindMethod binds the handlers by name.
class FormLayoutBuilder : public LayoutBuilder {
 public:
  TComponent& Create(TComponent& form, const ComponentLayout& row) override;
  void WriteForm(TComponent& form, const FormSettings& settings) override;
  void Write(TComponent& form, TComponent& component, const ComponentLayout& row) override;
};

}  // namespace vexlan
