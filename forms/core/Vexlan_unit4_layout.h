// The Search List dialog's layout.
#pragma once

#include "forms/core/layout_kinds.h"

namespace vexlan {

const FormLayout& Form4Layout();

}  // namespace vexlan
