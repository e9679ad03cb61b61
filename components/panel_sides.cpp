#include "components/panel_sides.h"

#include <array>

#include "platform/toolkit/sysutils.h"

namespace vexlan {

namespace {

constexpr std::array<std::string_view, kPanelSideCount> kSideNames = {
    "psLeft",          "psRight",        "psTop",          "psBottom",       "psAlign",
    "psAlignOpposite", "psNonAlignFirst", "psNonAlignLast", "psNonAlignPrev", "psNonAlignNext"};

constexpr TPanelSide kRelativeSides[] = {psAlign,        psAlignOpposite, psNonAlignFirst,
                                         psNonAlignLast, psNonAlignPrev,  psNonAlignNext};

// Real edges per alignment (rows alNone..alClient) and relative member
// (columns in kRelativeSides order).
constexpr TPanelSides kResolution[6][6] = {
    /* alNone   */ {{}, kAllRealSides, {}, {}, {}, {}},
    /* alTop    */ {{psTop}, {psBottom}, {psLeft}, {psRight}, {psLeft}, {psRight}},
    /* alBottom */ {{psBottom}, {psTop}, {psLeft}, {psRight}, {psRight}, {psLeft}},
    /* alLeft   */ {{psLeft}, {psRight}, {psTop}, {psBottom}, {psBottom}, {psTop}},
    /* alRight  */ {{psRight}, {psLeft}, {psTop}, {psBottom}, {psTop}, {psBottom}},
    /* alClient */ {kAllRealSides, {}, {}, {}, {}, {}},
};

bool IsBlank(char c) { return c == ' '; }

}  // namespace

TPanelSides ResolvePanelSides(TPanelSides sides, TAlign align) {
  const auto row = static_cast<unsigned>(align);
  if (row >= std::size(kResolution)) return sides;
  TPanelSides out = sides;
  for (std::size_t i = 0; i < std::size(kRelativeSides); ++i) {
    if (sides.Contains(kRelativeSides[i])) out = out | kResolution[row][i];
  }
  return out;
}

std::string ToString(TPanelSides sides) {
  std::string out = "[";
  for (int i = 0; i < kPanelSideCount; ++i) {
    if (!sides.Contains(static_cast<TPanelSide>(1u << i))) continue;
    if (out.size() > 1) out += ',';
    out += kSideNames[static_cast<std::size_t>(i)];
  }
  return out + "]";
}

TPanelSides ParsePanelSides(std::string_view text) {
  auto fail = [&](const char* why) -> TPanelSides {
    throw EConvertError("'" + std::string(text) + "' is not a valid TPanelSides value: " + why);
  };
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') return fail("it must be in brackets");
  std::string_view rest = text.substr(1, text.size() - 2);
  std::uint16_t bits = 0;
  bool first = true;
  while (true) {
    std::size_t comma = rest.find(',');
    std::string_view item = rest.substr(0, comma);
    while (!item.empty() && IsBlank(item.front())) item.remove_prefix(1);
    while (!item.empty() && IsBlank(item.back())) item.remove_suffix(1);
    if (item.empty()) {
      if (first && comma == std::string_view::npos) return TPanelSides{};  // "[]" or "[ ]"
      return fail("a name is missing");
    }
    std::size_t index = 0;
    while (index < kSideNames.size() && kSideNames[index] != item) ++index;
    if (index == kSideNames.size()) return fail("unknown member");
    const auto bit = static_cast<std::uint16_t>(1u << index);
    if (bits & bit) return fail("a member is repeated");
    bits |= bit;
    first = false;
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return TPanelSides::FromBits(bits);
}

}  // namespace vexlan
