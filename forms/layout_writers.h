// The writers of every kind of component Vexlan's layouts hold
// (forms/core/layout_kinds.h), with the toolkit's layout reader: what a form
// includes to read its layout, since reading one visits every kind of the
// list. A kind added there adds its writer's header here.
#pragma once

#include <variant>

#include "components/SysHot.h"
#include "components/win32/advanced_panel.h"
#include "forms/core/layout_kinds.h"
#include "platform/toolkit/win32/check_list.h"
#include "platform/toolkit/win32/layout_loader.h"
#include "platform/toolkit/win32/link_label.h"
#include "platform/toolkit/win32/list_view.h"
#include "platform/toolkit/win32/menus.h"
#include "platform/toolkit/win32/std_controls.h"
#include "platform/toolkit/win32/timer.h"
#include "platform/toolkit/win32/tree_view.h"

namespace vexlan {

template <class Kinds>
inline constexpr bool kEveryKindHasWriter = false;
template <class... Kinds>
inline constexpr bool kEveryKindHasWriter<std::variant<Kinds...>> =
    (requires { typename LayoutWriter<Kinds>::Component; } && ...);

static_assert(kEveryKindHasWriter<ComponentSettings>,
              "a kind of forms/core/layout_kinds.h has no LayoutWriter in view: include its header here");

}  // namespace vexlan
