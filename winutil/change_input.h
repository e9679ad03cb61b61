// What the user types into the change dialogs, read, or refused in words
// that name the field: nothing is applied unless every field reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform_services.h"

namespace vexlan {

// A field's value, or why it has none (`error`, for a message box).
template <class T>
struct FieldValue {
  std::optional<T> value;
  std::string error;
};

// A whole decimal number within 32 bits, signed; blanks around it are
// allowed.
FieldValue<std::int32_t> ReadCoordinate(std::string_view field, std::string_view text);
// The same, and not below zero.
FieldValue<std::int32_t> ReadSize(std::string_view field, std::string_view text);
// A 32-bit value in hexadecimal, with "0x" before it or not.
FieldValue<std::uint32_t> ReadHexValue(std::string_view field, std::string_view text);
// The Move and Size fields, Left, Top, Width and Height, read in that
// order; the first that does not read is told.
FieldValue<WindowPlace> ReadPlace(std::string_view left, std::string_view top, std::string_view width,
                                  std::string_view height);

// A style value as the Styles dialog shows it: "0x" and eight upper-case
// hexadecimal digits.
std::string HexValueText(std::uint32_t value);

}  // namespace vexlan
