#include "winutil/control_pictures.h"

namespace vexlan {

std::string ControlPictures(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      out += c;
      continue;
    }
    // U+2400 + code, U+2421 for DEL: E2 90 80+code, E2 90 A1 in UTF-8.
    out += "\xE2\x90";
    out += static_cast<char>(byte == 0x7F ? 0xA1 : 0x80 + byte);
  }
  return out;
}

}  // namespace vexlan
