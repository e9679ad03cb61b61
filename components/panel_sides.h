// Which edges of a rectangle a panel decoration occupies. Four members are
// real edges; six are relative to the panel's alignment and stand for real
// edges once resolved against it. Drawing and measuring look at the real
// edges only.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/toolkit/control_layout.h"

namespace vexlan {

// Member n is bit n of the set's word.
enum TPanelSide : std::uint16_t {
  psLeft = 0x0001,
  psRight = 0x0002,
  psTop = 0x0004,
  psBottom = 0x0008,
  psAlign = 0x0010,           // the edge the panel is aligned to
  psAlignOpposite = 0x0020,   // the edge facing away from it
  psNonAlignFirst = 0x0040,   // across the alignment: left (top/bottom aligned) or top (left/right aligned)
  psNonAlignLast = 0x0080,    // the other of those two
  psNonAlignPrev = 0x0100,    // next to the alignment edge, counter-clockwise
  psNonAlignNext = 0x0200,    // next to the alignment edge, clockwise
};

inline constexpr int kPanelSideCount = 10;

// A set of TPanelSide members; it never holds other bits.
class TPanelSides {
 public:
  constexpr TPanelSides() = default;
  constexpr TPanelSides(std::initializer_list<TPanelSide> members) {
    for (TPanelSide m : members) bits_ |= m;
  }
  // The members among `bits`; other bits are dropped.
  static constexpr TPanelSides FromBits(std::uint16_t bits) {
    TPanelSides s;
    s.bits_ = bits & kMembers;
    return s;
  }
  constexpr std::uint16_t Bits() const { return bits_; }
  constexpr bool Contains(TPanelSide member) const { return (bits_ & member) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  friend constexpr TPanelSides operator|(TPanelSides a, TPanelSides b) { return FromBits(a.bits_ | b.bits_); }
  friend constexpr bool operator==(TPanelSides, TPanelSides) = default;

 private:
  static constexpr std::uint16_t kMembers = (1u << kPanelSideCount) - 1;
  std::uint16_t bits_ = 0;
};

inline constexpr TPanelSides kAllRealSides{psLeft, psRight, psTop, psBottom};

// `sides` with the real edges added that its relative members stand for
// under `align`. Nothing is removed; an alignment outside TAlign adds nothing.
TPanelSides ResolvePanelSides(TPanelSides sides, TAlign align);

// The form-description text of a set: member names in member order,
// comma-separated, in brackets ("[]", "[psLeft,psTop]").
std::string ToString(TPanelSides sides);
// Reads that text back. Blanks may stand around names; anything else that
// is not a bracketed list of distinct member names raises EConvertError.
TPanelSides ParsePanelSides(std::string_view text);

}  // namespace vexlan
