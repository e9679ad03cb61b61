#include "platform/toolkit/sysutils.h"

#include <algorithm>
#include <limits>

namespace vexlan {

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

namespace {
std::string Hex(std::uint64_t bits, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  do {
    out += kDigits[bits & 0xF];
    bits >>= 4;
  } while (bits != 0);
  if (digits > 64) digits = 64;  // no value needs more; keeps a silly width from allocating
  while (static_cast<int>(out.size()) < digits) out += '0';
  std::reverse(out.begin(), out.end());
  return out;
}
}  // namespace

std::string IntToHex(std::int64_t value, int digits) { return Hex(static_cast<std::uint64_t>(value), digits); }

std::string IntToHex(std::int32_t value, int digits) { return Hex(static_cast<std::uint32_t>(value), digits); }

std::int32_t StrToInt(std::string_view text) {
  auto fail = [&]() -> std::int32_t {
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
  };
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return fail();
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return fail();
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return fail();
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) return fail();
  return static_cast<std::int32_t>(value);
}

std::string StrLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace vexlan
