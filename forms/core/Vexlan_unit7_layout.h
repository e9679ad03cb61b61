// The Move and Size dialog's layout.
#pragma once

#include "forms/core/layout_kinds.h"

namespace vexlan {

const FormLayout& Form7Layout();

}  // namespace vexlan
