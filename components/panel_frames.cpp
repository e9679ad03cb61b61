#include "components/panel_frames.h"

#include <algorithm>
#include <span>

#include "platform/toolkit/enum_names.h"

namespace vexlan {

namespace {

// A line in 64-bit coordinates: ring coordinates may pass the 32-bit range,
// where no canvas has pixels, so the ends are clamped into it.
void Line(TCanvas& canvas, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
  canvas.MoveTo(ClampToInt32(x1), ClampToInt32(y1));
  canvas.LineTo(ClampToInt32(x2), ClampToInt32(y2));
}

// Moves the real edges of `rect` in `sides` inward by `by`.
void Shrink(TRect& rect, TPanelSides sides, std::int64_t by) {
  if (sides.Contains(psLeft)) rect.Left = ClampToInt32(rect.Left + by);
  if (sides.Contains(psTop)) rect.Top = ClampToInt32(rect.Top + by);
  if (sides.Contains(psRight)) rect.Right = ClampToInt32(rect.Right - by);
  if (sides.Contains(psBottom)) rect.Bottom = ClampToInt32(rect.Bottom - by);
}

struct RingColors {
  TColor TopLeft;
  TColor BottomRight;
};

// Border rings per style, outside to inside, one ring each.
constexpr RingColors kLowered[] = {{clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight}};
constexpr RingColors kRaised[] = {{cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}};
constexpr RingColors kRound[] = {{clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow},
                                 {clBtnFace, clBtnFace},          {clBtnFace, clBtnFace},
                                 {clBtnShadow, clBtnHighlight},   {cl3DDkShadow, cl3DLight}};
constexpr RingColors kFlat[] = {{cl3DDkShadow, cl3DDkShadow}};

std::span<const RingColors> BorderRings(TPanelBorderStyle style) {
  switch (style) {
    case bsLowered: return kLowered;
    case bsRaised: return kRaised;
    case bsRound: return kRound;
    case bsFlat: return kFlat;
    default: return {};
  }
}

// Bevel ring layers per style, outside to inside, Depth rings each.
constexpr RingColors kBevelLowered[] = {{clBtnShadow, clBtnHighlight}};
constexpr RingColors kBevelRaised[] = {{clBtnHighlight, clBtnShadow}};
constexpr RingColors kGroove[] = {{clBtnShadow, clBtnHighlight}, {clBtnHighlight, clBtnShadow}};
constexpr RingColors kBump[] = {{clBtnHighlight, clBtnShadow}, {clBtnShadow, clBtnHighlight}};
constexpr RingColors kFlatHiLight[] = {{clBtnHighlight, clBtnHighlight}};
constexpr RingColors kFlatShadow[] = {{clBtnShadow, clBtnShadow}};
constexpr RingColors kFlatDkShadow[] = {{cl3DDkShadow, cl3DDkShadow}};

std::span<const RingColors> BevelLayers(TPanelBevelStyle style) {
  switch (style) {
    case bvLowered: return kBevelLowered;
    case bvRaised: return kBevelRaised;
    case bvGroove: return kGroove;
    case bvBump: return kBump;
    case bvFlatHiLight: return kFlatHiLight;
    case bvFlatShadow: return kFlatShadow;
    case bvFlatDkShadow: return kFlatDkShadow;
    default: return {};
  }
}

// Paints a clBtnFace band `width` wide along each real edge in `sides`, in
// the order left, top, right, bottom, each on the rectangle as the bands
// before it left it, and moves those edges of `work` in by `width`.
void FillBands(TCanvas& canvas, TRect& work, TPanelSides sides, std::int32_t width) {
  canvas.Brush.Color = clBtnFace;
  canvas.Brush.Style = bsSolid;
  if (sides.Contains(psLeft)) {
    const std::int32_t inner = ClampToInt32(std::int64_t{work.Left} + width);
    canvas.FillRect({work.Left, work.Top, inner, work.Bottom});
    work.Left = inner;
  }
  if (sides.Contains(psTop)) {
    const std::int32_t inner = ClampToInt32(std::int64_t{work.Top} + width);
    canvas.FillRect({work.Left, work.Top, work.Right, inner});
    work.Top = inner;
  }
  if (sides.Contains(psRight)) {
    const std::int32_t inner = ClampToInt32(std::int64_t{work.Right} - width);
    canvas.FillRect({inner, work.Top, work.Right, work.Bottom});
    work.Right = inner;
  }
  if (sides.Contains(psBottom)) {
    const std::int32_t inner = ClampToInt32(std::int64_t{work.Bottom} - width);
    canvas.FillRect({work.Left, inner, work.Right, work.Bottom});
    work.Bottom = inner;
  }
}

constexpr EnumNames<TPanelBorderStyle, 5> kBorderStyleNames{
    "TPanelBorderStyle", {"bsNone", "bsLowered", "bsRaised", "bsRound", "bsFlat"}};
constexpr EnumNames<TPanelBevelStyle, 8> kBevelStyleNames{
    "TPanelBevelStyle",
    {"bvNone", "bvLowered", "bvRaised", "bvGroove", "bvBump", "bvFlatHiLight", "bvFlatShadow", "bvFlatDkShadow"}};

}  // namespace

void DrawRings(TCanvas& Canvas, TRect& Work, TPanelSides Sides, TColor TopLeftColor, TColor BottomRightColor,
               std::int32_t Count) {
  if (Count <= 0) return;
  const bool left = Sides.Contains(psLeft), top = Sides.Contains(psTop);
  const bool right = Sides.Contains(psRight), bottom = Sides.Contains(psBottom);
  const std::int64_t L = Work.Left, T = Work.Top, R = Work.Right, B = Work.Bottom;

  // Ring k (from 0) starts with each present edge k pixels in, so its lines
  // lie in column L + k (left), row T + k (top), column R - 1 - k (right)
  // and row B - 1 - k (bottom). Each moves one pixel per ring and so passes
  // the clip rectangle during one run of rings; a ring with none of its
  // lines in its run paints nothing and is skipped.
  struct Run {
    std::int64_t first, end;
  };
  const TRect clip = Canvas.ClipRect();
  Run runs[4];
  int run_count = 0;
  if (left) runs[run_count++] = {clip.Left - L, clip.Right - L};
  if (top) runs[run_count++] = {clip.Top - T, clip.Bottom - T};
  if (right) runs[run_count++] = {R - clip.Right, R - clip.Left};
  if (bottom) runs[run_count++] = {B - clip.Bottom, B - clip.Top};
  auto next_visible = [&](std::int64_t k) {
    std::int64_t next = Count;
    for (int i = 0; i < run_count; ++i) {
      const std::int64_t candidate = std::max(k, runs[i].first);
      if (candidate < runs[i].end) next = std::min(next, candidate);
    }
    return next;
  };

  for (std::int64_t k = next_visible(0); k < Count; k = next_visible(k + 1)) {
    const std::int64_t l0 = left ? L + k : L, t0 = top ? T + k : T;
    const std::int64_t r0 = right ? R - k : R, b0 = bottom ? B - k : B;
    Canvas.Pen.Color = TopLeftColor;
    if (left) Line(Canvas, l0, b0 - 1, l0, t0 - 1);
    if (top) Line(Canvas, l0, t0, r0, t0);
    Canvas.Pen.Color = BottomRightColor;
    if (right) Line(Canvas, r0 - 1, t0, r0 - 1, b0);
    if (bottom) Line(Canvas, r0 - 1, b0 - 1, l0 - 1, b0 - 1);
  }
  Canvas.Pen.Color = BottomRightColor;
  Shrink(Work, Sides, Count);
}

std::string_view ToString(TPanelBorderStyle style) { return kBorderStyleNames.Name(style); }
TPanelBorderStyle ParsePanelBorderStyle(std::string_view text) { return kBorderStyleNames.Parse(text); }
std::string_view ToString(TPanelBevelStyle style) { return kBevelStyleNames.Name(style); }
TPanelBevelStyle ParsePanelBevelStyle(std::string_view text) { return kBevelStyleNames.Parse(text); }

// --- TPanelBorder -------------------------------------------------------------

void TPanelBorder::Changed() {
  if (OnChange) OnChange(this);
}

void TPanelBorder::SetSides(TPanelSides value) {
  if (value == sides_) return;
  sides_ = value;
  Changed();
}

void TPanelBorder::SetStyle(TPanelBorderStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TPanelBorder::Assign(const TPersistent& Source) {
  const auto* other = dynamic_cast<const TPanelBorder*>(&Source);
  if (!other) return TPersistent::Assign(Source);
  sides_ = other->sides_;
  style_ = other->style_;
  Changed();
}

int TPanelBorder::Extent() const { return static_cast<int>(BorderRings(style_).size()); }

void TPanelBorder::Draw(TCanvas& Canvas, const TRect& Rect, TPanelSides Sides) const {
  TRect work = Rect;
  Canvas.Pen.Style = psSolid;
  Canvas.Pen.Width = 1;
  for (const RingColors& ring : BorderRings(style_)) {
    DrawRings(Canvas, work, Sides, ring.TopLeft, ring.BottomRight, 1);
  }
}

void TPanelBorder::AdjustRect(TRect& Rect, TPanelSides Sides) const { Shrink(Rect, Sides, Extent()); }

// --- TPanelBevel --------------------------------------------------------------

void TPanelBevel::Changed() {
  if (OnChange) OnChange(this);
}

void TPanelBevel::SetSides(TPanelSides value) {
  if (value == sides_) return;
  sides_ = value;
  Changed();
}

void TPanelBevel::SetStyle(TPanelBevelStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TPanelBevel::SetDepth(std::int32_t value) {
  if (value == depth_) return;
  depth_ = value;
  Changed();
}

void TPanelBevel::SetSpaceOuter(std::int32_t value) {
  if (value == space_outer_) return;
  space_outer_ = value;
  Changed();
}

void TPanelBevel::SetSpaceInner(std::int32_t value) {
  if (value == space_inner_) return;
  space_inner_ = value;
  Changed();
}

void TPanelBevel::Assign(const TPersistent& Source) {
  const auto* other = dynamic_cast<const TPanelBevel*>(&Source);
  if (!other) return TPersistent::Assign(Source);
  sides_ = other->sides_;
  style_ = other->style_;
  depth_ = other->depth_;
  space_outer_ = other->space_outer_;
  space_inner_ = other->space_inner_;
  Changed();
}

std::int64_t TPanelBevel::Extent() const {
  std::int64_t extent = std::int64_t{space_outer_} + space_inner_;
  if (style_ != bvNone) extent += depth_;
  if (style_ == bvGroove || style_ == bvBump) extent += depth_;
  return extent;
}

void TPanelBevel::Draw(TCanvas& Canvas, const TRect& Rect, TPanelSides Sides) const {
  TRect work = Rect;
  Canvas.Pen.Style = psSolid;
  Canvas.Pen.Width = 1;
  if (space_outer_ > 0) FillBands(Canvas, work, Sides, space_outer_);
  for (const RingColors& layer : BevelLayers(style_)) {
    DrawRings(Canvas, work, Sides, layer.TopLeft, layer.BottomRight, depth_);
  }
  if (space_inner_ > 0) FillBands(Canvas, work, Sides, space_inner_);
}

void TPanelBevel::AdjustRect(TRect& Rect, TPanelSides Sides) const { Shrink(Rect, Sides, Extent()); }

}  // namespace vexlan
