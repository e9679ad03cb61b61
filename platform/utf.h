// Conversions between the UTF-8 text the program keeps and the UTF-16 text
// the platform's wide calls speak. Malformed input never fails: each bad
// sequence becomes U+FFFD, so a caption with a lone surrogate still shows.
#pragma once

#include <string>
#include <string_view>

namespace vexlan {

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// `text` cut to at most `max_units` UTF-16 units, never inside a surrogate pair.
std::u16string_view CutUtf16(std::u16string_view text, std::size_t max_units);

}  // namespace vexlan
