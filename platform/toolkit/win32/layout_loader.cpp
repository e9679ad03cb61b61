#include "platform/toolkit/win32/layout_loader.h"

namespace vexlan {

void WriteFormSettings(TForm& form, const FormSettings& s, LayoutContext& context) {
  form.SetCaption(std::string(s.Caption));
  form.SetSizeable(s.Sizeable);
  form.SetDialog(s.Dialog);
  const TBounds design = DesignPlacement(s);
  form.SetDesignPlacement(design.Left, design.Top, design.Width, design.Height);
  if (!s.Font.Name.empty()) form.SetFont(s.Font.Name, s.Font.Height);
  form.OnCreate = context.Bind<TNotifyEvent>(s.OnCreate);
  form.OnShow = context.Bind<TNotifyEvent>(s.OnShow);
  form.OnClose = context.Bind<TNotifyEvent>(s.OnClose);
}

void PlaceControl(TComponent& component, TForm& form, std::string_view parent, const TBounds& bounds, TAlign align,
                  int tab_order) {
  auto& control = dynamic_cast<TWinControl&>(component);
  control.SetParent(parent.empty() ? &form : &LayoutComponent<TWinControl>(form, parent));
  control.SetBoundsRect(bounds);
  control.SetAlign(align);
  if (tab_order != kNoTabOrder) control.SetTabOrder(tab_order);
}

}  // namespace vexlan
