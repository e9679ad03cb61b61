// The Styles dialog's layout.
#pragma once

#include "forms/core/layout_kinds.h"

namespace vexlan {

const FormLayout& Form8Layout();

}  // namespace vexlan
