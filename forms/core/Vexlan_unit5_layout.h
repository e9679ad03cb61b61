// The Window Properties dialog's layout.
#pragma once

#include "forms/core/layout_kinds.h"

namespace vexlan {

const FormLayout& Form5Layout();

}  // namespace vexlan
