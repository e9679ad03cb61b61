// Every kind of component Vexlan's layouts hold, listed once: the settings
// each kind is written from. A kind's settings say its role in a form (see
// platform/toolkit/layout.h); its LayoutWriter lives with its component.
#pragma once

#include <variant>

#include "components/SysHot.h"
#include "components/panel_settings.h"
#include "platform/toolkit/control_settings.h"
#include "platform/toolkit/layout.h"

namespace vexlan {

using ComponentSettings =
    std::variant<TreeViewSettings, PanelSettings, ButtonSettings, EditSettings, MemoSettings, LabelSettings,
                 PopupMenuSettings, MenuItemSettings, TimerSettings, SysHotKeySettings, AdvancedPanelSettings,
                 CheckBoxSettings, ListViewSettings, CheckListSettings, LinkLabelSettings>;

using ComponentLayout = BasicComponentLayout<ComponentSettings>;
using FormLayout = BasicFormLayout<ComponentSettings>;

}  // namespace vexlan
