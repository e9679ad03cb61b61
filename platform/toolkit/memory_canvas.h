// A canvas over a 32-bit pixel buffer in memory, following the platform's
// pixel rules (graphics.h) exactly, so that drawing code can be tested and
// its pixels read without a window system. System colours resolve through a
// table its creator supplies.
#pragma once

#include <vector>

#include "platform/toolkit/graphics.h"

namespace vexlan {

class TMemoryCanvas final : public TCanvas {
 public:
  // A `width` by `height` buffer filled with `background`;
  // std::invalid_argument for a negative size or one too large for memory.
  TMemoryCanvas(int width, int height, const TSystemColors& system_colors, TPixel background = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // std::out_of_range outside the buffer.
  TPixel Pixel(int x, int y) const;
  std::span<const TPixel> Pixels() const { return pixels_; }
  TPixel Resolve(TColor color) const { return ColorToPixel(color, system_colors_); }
  // Narrows drawing to `clip` within the buffer (initially the whole buffer).
  void SetClipRect(const TRect& clip);

  void LineTo(int X, int Y) override;
  void FillRect(const TRect& Rect) override;
  void BitBlt(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc) override;
  void StretchBlt(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc, int SrcWidth,
                  int SrcHeight) override;
  TRect ClipRect() const override { return clip_; }

 private:
  TPixel& At(int x, int y) {
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
  }

  int width_;
  int height_;
  TSystemColors system_colors_;
  std::vector<TPixel> pixels_;
  TRect clip_;
};

}  // namespace vexlan
