// The Messages window's layout.
#pragma once

#include "forms/core/layout_kinds.h"

namespace vexlan {

const FormLayout& Form6Layout();

// The list's columns, in the order of the log's fields (msglog/message_text.h).
std::span<const ListColumn> MessageColumns();

}  // namespace vexlan
