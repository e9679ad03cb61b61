// Window handles as users type them.
#pragma once

#include <string>
#include <string_view>

#include "platform/window_services.h"

namespace vexlan {

// The handle a user typed: an optional sign and decimal digits within the
// signed 32-bit range, as the tree shows handles, with any blanks (spaces,
// tabs) before and after it, nothing else.
// Anything else throws EConvertError with a message that quotes what was
// typed (a long text shortened) and says how to type a handle.
WindowHandle HandleFromText(std::string_view text);

// A handle as the picker shows it: signed decimal, a blank, and the same 32
// bits in upper-case hexadecimal in parentheses, as in "1234 (4D2)" or
// "-2147478988 (80001234)".
std::string HandleDisplayText(WindowHandle wnd);
// The handle in a picker field: the decimal number before the first blank
// that follows it (blanks before it do not count), or the whole text when it
// has none (a number the user typed).
// HandleFromText's error for anything else.
WindowHandle HandleFromDisplayText(std::string_view text);

}  // namespace vexlan
