#include "winutil/change_input.h"

#include <charconv>
#include <limits>

#include "platform/toolkit/sysutils.h"

namespace vexlan {

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Quoted(std::string_view field, std::string_view text) {
  return std::string(field) + ": \"" + std::string(text) + "\"";
}

// Parses all of `digits` in `base` into `value`; false when it is no number
// (a sign alone, a letter), with `too_big` when it is one beyond 64 bits.
template <class T>
bool Parse(std::string_view digits, int base, T& value, bool& too_big) {
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  too_big = error == std::errc::result_out_of_range && end == digits.data() + digits.size();
  return !digits.empty() && error == std::errc() && end == digits.data() + digits.size();
}

}  // namespace

FieldValue<std::int32_t> ReadCoordinate(std::string_view field, std::string_view text) {
  const std::string_view t = Trimmed(text);
  if (t.empty()) return {std::nullopt, std::string(field) + " is empty: enter a whole number."};
  // from_chars takes a minus sign, not a plus sign.
  std::string_view digits = t;
  if (digits.front() == '+') {
    digits.remove_prefix(1);
    if (!digits.empty() && digits.front() == '-') digits = {};
  }
  std::int64_t value = 0;
  bool too_big = false;
  const bool read = Parse(digits, 10, value, too_big);
  if (too_big || (read && (value < std::numeric_limits<std::int32_t>::min() ||
                           value > std::numeric_limits<std::int32_t>::max()))) {
    return {std::nullopt, Quoted(field, t) + " is beyond 32 bits: from -2147483648 to 2147483647."};
  }
  if (!read) return {std::nullopt, Quoted(field, t) + " is not a whole number."};
  return {static_cast<std::int32_t>(value), {}};
}

FieldValue<std::int32_t> ReadSize(std::string_view field, std::string_view text) {
  FieldValue<std::int32_t> read = ReadCoordinate(field, text);
  if (read.value && *read.value < 0) return {std::nullopt, std::string(field) + " cannot be below zero."};
  return read;
}

FieldValue<std::uint32_t> ReadHexValue(std::string_view field, std::string_view text) {
  const std::string_view t = Trimmed(text);
  if (t.empty()) return {std::nullopt, std::string(field) + " is empty: enter a hexadecimal number."};
  std::string_view digits = t;
  if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) digits.remove_prefix(2);
  // from_chars would take a sign; a style has none.
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits = {};
  std::uint64_t value = 0;
  bool too_big = false;
  const bool read = Parse(digits, 16, value, too_big);
  if (too_big || (read && value > std::numeric_limits<std::uint32_t>::max())) {
    return {std::nullopt, Quoted(field, t) + " is beyond 32 bits: at most 0xFFFFFFFF."};
  }
  if (!read) return {std::nullopt, Quoted(field, t) + " is not a hexadecimal number."};
  return {static_cast<std::uint32_t>(value), {}};
}

FieldValue<WindowPlace> ReadPlace(std::string_view left, std::string_view top, std::string_view width,
                                  std::string_view height) {
  const FieldValue<std::int32_t> fields[] = {ReadCoordinate("Left", left), ReadCoordinate("Top", top),
                                             ReadSize("Width", width), ReadSize("Height", height)};
  for (const FieldValue<std::int32_t>& f : fields) {
    if (!f.value) return {std::nullopt, f.error};
  }
  return {WindowPlace{*fields[0].value, *fields[1].value, *fields[2].value, *fields[3].value}, {}};
}

std::string HexValueText(std::uint32_t value) { return "0x" + IntToHex(static_cast<std::int64_t>(value), 8); }

}  // namespace vexlan
