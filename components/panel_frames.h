// The framing decorations of the advanced panel: the border and the bevel.
// Both draw one-pixel rings (DrawRings) on the real edges of a resolved side
// set, work on a copy of the rectangle they are given, and report the room
// they take through AdjustRect, which shrinks a rectangle exactly as far as
// Draw moved its copy. Neither clamps: a rectangle smaller than the frame
// comes out crossed over (Left > Right or Top > Bottom). Coordinates that
// would leave the 32-bit range stop at its ends.
//
// Property writers store a changed value and then call OnChange with the
// decoration as sender; writing the current value does nothing. Assign from
// the same class copies every value and always calls OnChange once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "components/panel_sides.h"
#include "platform/toolkit/classes.h"
#include "platform/toolkit/events.h"
#include "platform/toolkit/graphics.h"

namespace vexlan {

// Draws `Count` rings on the edges of `Work` that are in `Sides`, each edge
// one pixel further in than the last, and moves those edges of `Work` in by
// `Count` pixels. Each ring draws, with the pen in `TopLeftColor`, its left
// column upwards and its top row rightwards, then in `BottomRightColor` its
// right column downwards and its bottom row leftwards, each line covering
// its whole edge; an edge not in `Sides` is neither drawn nor moved. Once
// the rectangle has crossed over, further rings still draw from the crossed
// coordinates and move outward. Rings that cannot reach the canvas's clip
// rectangle are not drawn at all, which changes no pixel and keeps the work
// proportional to the clip's size whatever `Count` is. Leaves the pen in
// `BottomRightColor` when Count > 0; Count <= 0 does nothing.
void DrawRings(TCanvas& Canvas, TRect& Work, TPanelSides Sides, TColor TopLeftColor, TColor BottomRightColor,
               std::int32_t Count);

enum TPanelBorderStyle : std::uint8_t { bsNone, bsLowered, bsRaised, bsRound, bsFlat };

std::string_view ToString(TPanelBorderStyle style);
TPanelBorderStyle ParsePanelBorderStyle(std::string_view text);

class TPanelBorder : public TPersistent {
 public:
  TPanelBorder() = default;
  std::string ClassName() const override { return "TPanelBorder"; }

  TPanelSides Sides() const { return sides_; }
  void SetSides(TPanelSides value);
  TPanelBorderStyle Style() const { return style_; }
  void SetStyle(TPanelBorderStyle value);
  TNotifyEvent OnChange;

  void Assign(const TPersistent& Source) override;
  // Paints inside `Rect` on the real edges of `Sides` (already resolved).
  // The pen is left solid, one pixel wide.
  void Draw(TCanvas& Canvas, const TRect& Rect, TPanelSides Sides) const;
  void AdjustRect(TRect& Rect, TPanelSides Sides) const;
  // Rings the style draws on each edge: 0, 1, 2 or 6.
  int Extent() const;

 private:
  void Changed();

  TPanelSides sides_ = kAllRealSides;
  TPanelBorderStyle style_ = bsNone;
};

enum TPanelBevelStyle : std::uint8_t {
  bvNone,
  bvLowered,
  bvRaised,
  bvGroove,
  bvBump,
  bvFlatHiLight,
  bvFlatShadow,
  bvFlatDkShadow
};

std::string_view ToString(TPanelBevelStyle style);
TPanelBevelStyle ParsePanelBevelStyle(std::string_view text);

// From the outside in: a band of SpaceOuter pixels in clBtnFace, Depth rings
// (twice Depth for bvGroove and bvBump) in the style's colours, a band of
// SpaceInner pixels. Depth is meant to be 1 or more and the spaces 0 or
// more, but the writers take any value: a space or depth of 0 or less paints
// nothing and still counts, as it is, in the room taken.
class TPanelBevel : public TPersistent {
 public:
  TPanelBevel() = default;
  std::string ClassName() const override { return "TPanelBevel"; }

  TPanelSides Sides() const { return sides_; }
  void SetSides(TPanelSides value);
  TPanelBevelStyle Style() const { return style_; }
  void SetStyle(TPanelBevelStyle value);
  std::int32_t Depth() const { return depth_; }
  void SetDepth(std::int32_t value);
  std::int32_t SpaceOuter() const { return space_outer_; }
  void SetSpaceOuter(std::int32_t value);
  std::int32_t SpaceInner() const { return space_inner_; }
  void SetSpaceInner(std::int32_t value);
  TNotifyEvent OnChange;

  void Assign(const TPersistent& Source) override;
  // Paints inside `Rect` on the real edges of `Sides` (already resolved).
  // The pen is left solid, one pixel wide; after a band, the brush solid
  // clBtnFace.
  void Draw(TCanvas& Canvas, const TRect& Rect, TPanelSides Sides) const;
  void AdjustRect(TRect& Rect, TPanelSides Sides) const;
  // SpaceOuter + SpaceInner + the ring layers, in 64 bits: up to four times
  // the largest 32-bit value.
  std::int64_t Extent() const;

 private:
  void Changed();

  TPanelSides sides_ = kAllRealSides;
  TPanelBevelStyle style_ = bvNone;
  std::int32_t depth_ = 1;
  std::int32_t space_outer_ = 0;
  std::int32_t space_inner_ = 0;
};

}  // namespace vexlan
