// The panel family on real windows: the simple and advanced panels over the
// toolkit's custom control, and TAdvancedPanel, the kind layouts make.
//
// The window: opaque (WM_ERASEBKGND answers 1 and touches nothing), no
// whole-window repaint on resize (its class has neither CS_HREDRAW nor
// CS_VREDRAW; the panel invalidates itself on each change of position
// instead), clipping its children, and a control parent, so that Tab and
// accelerators reach the controls it holds.
#pragma once

#include "components/advanced_panel.h"
#include "components/panel_settings.h"
#include "components/simple_panel.h"
#include "platform/toolkit/layout.h"
#include "platform/toolkit/win32/custom_control.h"

namespace vexlan {

class TCustomSimplePanel : public SimplePanel<TCustomControl> {
 public:
  using SimplePanel::SimplePanel;

 protected:
  void CreateParams(TCreateParams& params) override;
};

using TCustomAdvancedPanel = AdvancedPanel<TCustomSimplePanel>;

class TAdvancedPanel : public TCustomAdvancedPanel {
 public:
  using TCustomAdvancedPanel::TCustomAdvancedPanel;
  std::string ClassName() const override { return "TAdvancedPanel"; }
};

template <>
struct LayoutWriter<AdvancedPanelSettings> {
  using Component = TAdvancedPanel;
  static void Write(TAdvancedPanel& panel, const AdvancedPanelSettings& s, LayoutContext& context);
};

}  // namespace vexlan
