// Exceptions and the string conversions the forms use.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vexlan {

// Base of the toolkit's errors. An Exception escaping an event handler is
// reported by the application's error handler and the program goes on.
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  std::string Message() const { return what(); }
};

// A text that is not what a conversion needs.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Signed decimal, no leading zeros.
std::string IntToStr(std::int64_t value);
// Upper-case hexadecimal of the value's two's-complement bits (32-bit values
// are taken as unsigned 32-bit), padded with zeros to at least `digits`.
std::string IntToHex(std::int64_t value, int digits);
std::string IntToHex(std::int32_t value, int digits);
// An optional sign and decimal digits within the signed 32-bit range, nothing
// else (no blanks, no hexadecimal). Anything else throws EConvertError whose
// message quotes the text.
std::int32_t StrToInt(std::string_view text);
// Lower case for A to Z only; every other byte, multibyte characters
// included, stays as it is.
std::string StrLower(std::string_view text);

}  // namespace vexlan
