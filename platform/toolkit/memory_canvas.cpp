#include "platform/toolkit/memory_canvas.h"

#include <stdexcept>
#include <string>

namespace vexlan {

TMemoryCanvas::TMemoryCanvas(int width, int height, const TSystemColors& system_colors, TPixel background)
    : width_(width), height_(height), system_colors_(system_colors) {
  if (width < 0 || height < 0 ||
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > pixels_.max_size()) {
    throw std::invalid_argument("a memory canvas cannot be " + std::to_string(width) + " by " +
                                std::to_string(height) + " pixels");
  }
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background);
  clip_ = {0, 0, width, height};
}

TPixel TMemoryCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) throw std::out_of_range("pixel outside the canvas");
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

void TMemoryCanvas::SetClipRect(const TRect& clip) {
  clip_ = ClipFill(clip, {0, 0, width_, height_}).value_or(TRect{});
}

void TMemoryCanvas::LineTo(int X, int Y) {
  if (Pen.Width > 1) throw std::invalid_argument("the canvas draws one-pixel pens only");
  const TPoint start = pen_pos_;
  const std::optional<TLineRun> run = ClipLine(start, {X, Y}, clip_);
  pen_pos_ = {X, Y};
  if (!run || Pen.Style == psClear) return;
  const TPixel color = Resolve(Pen.Color);
  const int dx = (run->To.X > run->From.X) - (run->To.X < run->From.X);
  const int dy = (run->To.Y > run->From.Y) - (run->To.Y < run->From.Y);
  for (TPoint p = run->From; p != run->To; p.X += dx, p.Y += dy) {
    if (Pen.Style != psDot || DotPainted(start, p)) At(p.X, p.Y) = color;
  }
}

void TMemoryCanvas::FillRect(const TRect& Rect) {
  const std::optional<TRect> area = ClipFill(Rect, clip_);
  if (!area || Brush.Style == bsClear) return;
  const TPixel color = Resolve(Brush.Color);
  for (int y = area->Top; y < area->Bottom; ++y) {
    for (int x = area->Left; x < area->Right; ++x) At(x, y) = color;
  }
}

void TMemoryCanvas::BitBlt(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc) {
  const std::optional<TCopyArea> copy = ClipCopy(X, Y, Width, Height, Source, XSrc, YSrc, clip_);
  if (!copy) return;
  for (int y = copy->Dest.Top; y < copy->Dest.Bottom; ++y) {
    for (int x = copy->Dest.Left; x < copy->Dest.Right; ++x) {
      At(x, y) = Source.Pixel(copy->Source.X + (x - copy->Dest.Left), copy->Source.Y + (y - copy->Dest.Top));
    }
  }
}

void TMemoryCanvas::StretchBlt(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc,
                               int SrcWidth, int SrcHeight) {
  if (!StretchDraws(Width, Height, Source, XSrc, YSrc, SrcWidth, SrcHeight)) return;
  const TRect dest{X, Y, ClampToInt32(std::int64_t{X} + Width), ClampToInt32(std::int64_t{Y} + Height)};
  const std::optional<TRect> area = ClipFill(dest, clip_);
  if (!area) return;
  // Each destination pixel takes the source pixel its top-left corner falls
  // in, so the first row and column always show.
  auto pick = [](std::int64_t i, std::int64_t size, std::int64_t src_size) {
    return static_cast<int>(i * src_size / size);
  };
  for (int y = area->Top; y < area->Bottom; ++y) {
    const int sy = YSrc + pick(std::int64_t{y} - Y, Height, SrcHeight);
    for (int x = area->Left; x < area->Right; ++x) {
      At(x, y) = Source.Pixel(XSrc + pick(std::int64_t{x} - X, Width, SrcWidth), sy);
    }
  }
}

}  // namespace vexlan
