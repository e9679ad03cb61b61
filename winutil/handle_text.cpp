#include "winutil/handle_text.h"

#include <string>

#include "platform/toolkit/sysutils.h"
#include "platform/utf.h"

namespace vexlan {

namespace {

// Enough of a mistyped text to recognise it in a message box.
constexpr std::size_t kQuotedUnits = 40;

std::string Quoted(std::string_view text) {
  const std::u16string wide = Utf8ToUtf16(text);
  if (wide.size() <= kQuotedUnits) return "'" + std::string(text) + "'";
  return "'" + Utf16ToUtf8(CutUtf16(wide, kQuotedUnits)) + "...'";
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

WindowHandle HandleFromText(std::string_view text) {
  try {
    return StrToInt(TrimBlanks(text));
  } catch (const EConvertError&) {
    throw EConvertError(Quoted(text) +
                        " is not a window handle. Type the handle as a decimal number, as the tree shows it "
                        "(for example 65552).");
  }
}

std::string HandleDisplayText(WindowHandle wnd) { return IntToStr(wnd) + " (" + IntToHex(wnd, 1) + ")"; }

WindowHandle HandleFromDisplayText(std::string_view text) {
  const std::string_view number = TrimBlanks(text);
  return HandleFromText(number.substr(0, number.find_first_of(" \t")));
}

}  // namespace vexlan
