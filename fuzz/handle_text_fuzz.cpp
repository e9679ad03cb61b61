// Handles as users type them (the bottom bar, the Search List dialog, the
// text dialog's label) and as the picker shows them, "1234 (4D2)": typed
// text, blanks around it allowed, is read exactly as a simple reference
// reads it, every handle's
// display text reads back, and a refusal names what was typed, briefly.
#include <cstring>
#include <optional>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/toolkit/sysutils.h"
#include "winutil/handle_text.h"

using namespace vexlan;

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Blanks around a sign, then decimal digits only, within the signed 32-bit range.
std::optional<std::int32_t> ReferenceHandle(std::string_view text) {
  text = Trimmed(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  text.remove_prefix(std::min(text.find_first_not_of('0'), text.size() - 1));
  if (text.size() > 10) return std::nullopt;
  const long long value = (negative ? -1 : 1) * std::stoll(std::string(text));
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

// What a conversion makes of `text`: the handle, or nothing when it refused
// with a message of bounded size (40 units quoted at most).
std::optional<std::int32_t> Read(WindowHandle (*convert)(std::string_view), std::string_view text) {
  try {
    return convert(text);
  } catch (const EConvertError& e) {
    FUZZ_CHECK(std::strlen(e.what()) <= 320);
    return std::nullopt;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const WindowHandle wnd = in.ConsumeIntegral<WindowHandle>();
  const std::string display = HandleDisplayText(wnd);
  const std::string typed = in.ConsumeRemainingBytesAsString();

  FUZZ_CHECK(HandleFromDisplayText(display) == wnd);
  FUZZ_CHECK(HandleFromText(IntToStr(wnd)) == wnd);
  // The parenthesised part is the same 32 bits in hexadecimal.
  const std::size_t open = display.find(" (");
  FUZZ_CHECK(open != std::string::npos && display.back() == ')');
  FUZZ_CHECK(std::stoul(display.substr(open + 2, display.size() - open - 3), nullptr, 16) ==
             static_cast<std::uint32_t>(wnd));
  // Whatever follows the first blank of a picker field is not read.
  FUZZ_CHECK(HandleFromDisplayText(display + typed) == wnd);

  FUZZ_CHECK(Read(HandleFromText, typed) == ReferenceHandle(typed));
  const std::string_view field = Trimmed(typed);
  FUZZ_CHECK(Read(HandleFromDisplayText, typed) == ReferenceHandle(field.substr(0, field.find_first_of(" \t"))));
  return 0;
}
