#include "platform/toolkit/mnemonics.h"

#include <vector>

namespace vexlan {

namespace {

// Decodes the UTF-8 character at the start of `text`; 0 for a malformed one.
char32_t FirstCodePoint(std::string_view text) {
  if (text.empty()) return 0;
  const auto b0 = static_cast<unsigned char>(text[0]);
  if (b0 < 0x80) return b0;
  int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : -1;
  if (extra < 0 || text.size() <= static_cast<std::size_t>(extra)) return 0;
  char32_t cp = b0 & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    const auto b = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  return cp;
}

}  // namespace

char32_t FoldMnemonic(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - U'a' + U'A';
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  return c;
}

char32_t MnemonicOf(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return FoldMnemonic(FirstCodePoint(caption.substr(i + 1)));
  }
  return 0;
}

std::optional<MnemonicTarget> ChooseMnemonicTarget(std::span<const char32_t> mnemonics, char32_t typed,
                                                   std::optional<std::size_t> focused) {
  const char32_t key = FoldMnemonic(typed);
  if (key == 0) return std::nullopt;
  std::vector<std::size_t> matches;
  for (std::size_t i = 0; i < mnemonics.size(); ++i) {
    if (mnemonics[i] == key) matches.push_back(i);
  }
  if (matches.empty()) return std::nullopt;
  if (matches.size() == 1) return MnemonicTarget{matches.front(), true};
  if (focused) {
    for (std::size_t i : matches) {
      if (i > *focused) return MnemonicTarget{i, false};
    }
  }
  return MnemonicTarget{matches.front(), false};
}

}  // namespace vexlan
