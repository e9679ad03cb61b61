// The Find Element dialog's layout.
#pragma once

#include "forms/core/layout_kinds.h"

namespace vexlan {

const FormLayout& Form3Layout();

}  // namespace vexlan
