// The main form's layout: its place, font and controls, as the form reads
// them when it is created.
#pragma once

#include "forms/core/layout_kinds.h"

namespace vexlan {

const FormLayout& Form1Layout();

}  // namespace vexlan
