// One window, one line: a caption or class name may hold any character, line
// breaks included, and a list of windows written one a line must not let a
// caption forge a line of its own.
#pragma once

#include <string>
#include <string_view>

namespace vexlan {

// `text` (UTF-8) with each control character written as its symbol of the
// Control Pictures block: U+0000 to U+001F as U+2400 plus its code (CR as ␍,
// LF as ␊, tab as ␉), U+007F as ␡ (U+2421). Every other byte is kept.
std::string ControlPictures(std::string_view text);

}  // namespace vexlan
