#include "components/win32/advanced_panel.h"

namespace vexlan {

void TCustomSimplePanel::CreateParams(TCreateParams& params) {
  SimplePanel::CreateParams(params);
  params.ClassStyle &= ~(CS_HREDRAW | CS_VREDRAW);
  params.Style |= WS_CLIPCHILDREN | (WindowBorderStyle() == wbsSingle ? WS_BORDER : 0);
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void LayoutWriter<AdvancedPanelSettings>::Write(TAdvancedPanel& panel, const AdvancedPanelSettings& s,
                                                LayoutContext&) {
  WriteAdvancedPanelSettings(panel, s);
}

}  // namespace vexlan
