#include "winutil/highlight_frame_bands.h"

#include <algorithm>
#include <cstdint>

namespace vexlan {

int HighlightWidth(int dpi) {
  return std::max(1, (kHighlightWidthAt96 * dpi + 48) / 96);
}

std::optional<std::array<TRect, 4>> HighlightBands(const TRect& window, const TRect& screen, int dpi) {
  if (window.Right <= window.Left || window.Bottom <= window.Top) return std::nullopt;
  if (window.Right <= screen.Left || window.Left >= screen.Right || window.Bottom <= screen.Top ||
      window.Top >= screen.Bottom) {
    return std::nullopt;
  }
  // In 64 bits: a window may stand anywhere in the 32-bit range.
  const std::int64_t w = HighlightWidth(dpi);
  const TRect outer{std::max<std::int32_t>(screen.Left, ClampToInt32(window.Left - w)),
                    std::max<std::int32_t>(screen.Top, ClampToInt32(window.Top - w)),
                    std::min<std::int32_t>(screen.Right, ClampToInt32(window.Right + w)),
                    std::min<std::int32_t>(screen.Bottom, ClampToInt32(window.Bottom + w))};
  TRect inner;
  inner.Left = ClampToInt32(std::min<std::int64_t>(outer.Left + w, outer.Right));
  inner.Right = ClampToInt32(std::max<std::int64_t>(outer.Right - w, inner.Left));
  inner.Top = ClampToInt32(std::min<std::int64_t>(outer.Top + w, outer.Bottom));
  inner.Bottom = ClampToInt32(std::max<std::int64_t>(outer.Bottom - w, inner.Top));
  return std::array<TRect, 4>{TRect{outer.Left, outer.Top, outer.Right, inner.Top},
                              TRect{outer.Left, inner.Bottom, outer.Right, outer.Bottom},
                              TRect{outer.Left, inner.Top, inner.Left, inner.Bottom},
                              TRect{inner.Right, inner.Top, outer.Right, inner.Bottom}};
}

}  // namespace vexlan
