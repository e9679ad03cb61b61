// The Show/Edit Text dialog's layout.
#pragma once

#include "forms/core/layout_kinds.h"

namespace vexlan {

const FormLayout& Form2Layout();

}  // namespace vexlan
