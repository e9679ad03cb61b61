#include "components/panel_wallpaper.h"

#include <algorithm>

#include "platform/toolkit/enum_names.h"

namespace vexlan {

namespace {

// Blocks of this size keep a tiled wallpaper to a few copies (a dozen for a
// full-HD screen) and take at most 4 MB.
constexpr int kTileBlockSide = 256;

constexpr EnumNames<TPanelWallpaperStyle, 4> kWallpaperStyleNames{"TPanelWallpaperStyle",
                                                                  {"wpNone", "wpCenter", "wpStretch", "wpTile"}};

// One painting of the wallpaper. Coordinates are 64-bit: widths and
// positions derived from a 32-bit rectangle may pass the 32-bit range.
struct Painter {
  TCanvas& canvas;
  const TBitmap& bitmap;
  std::int64_t left, top, right, bottom;  // the rectangle to paint
  TColor back;

  // Paints the part of (x1, y1, x2, y2) inside the rectangle in `back`.
  void FillClipped(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) const {
    x1 = std::max(x1, left);
    y1 = std::max(y1, top);
    x2 = std::min(x2, right);
    y2 = std::min(y2, bottom);
    if (x2 <= x1 || y2 <= y1) return;
    canvas.Brush.Color = back;
    canvas.Brush.Style = bsSolid;
    canvas.FillRect({ClampToInt32(x1), ClampToInt32(y1), ClampToInt32(x2), ClampToInt32(y2)});
  }

  // A 1:1 copy of the bitmap from (sx, sy) to (x, y), w by h pixels.
  void Copy(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, std::int64_t sx, std::int64_t sy) const {
    if (w <= 0 || h <= 0) return;
    canvas.BitBlt(ClampToInt32(x), ClampToInt32(y), ClampToInt32(w), ClampToInt32(h), bitmap, ClampToInt32(sx),
                  ClampToInt32(sy));
  }

  void Plain(std::int64_t w, std::int64_t h) const {
    Copy(left, top, right - left, bottom - top, 0, 0);
    FillClipped(left + w, top, right, top + h);
    FillClipped(left, top + h, right, bottom);
  }

  // Where the bitmap is larger than the rectangle, its middle part shows;
  // where smaller, it sits in the middle. Odd differences leave the extra
  // pixel to the right and bottom.
  void Centred(std::int64_t w, std::int64_t h) const {
    std::int64_t sx = 0, sy = 0, dl = left, dt = top, dr = right, db = bottom;
    const std::int64_t width = right - left, height = bottom - top;
    if (width < w) sx = (w - width) / 2;
    if (width > w) dr = (dl = left + (width - w) / 2) + w;
    if (height < h) sy = (h - height) / 2;
    if (height > h) db = (dt = top + (height - h) / 2) + h;
    Copy(dl, dt, dr - dl, db - dt, sx, sy);
    FillClipped(left, top, right, dt);
    FillClipped(left, dt, dl, db);
    FillClipped(dr, dt, right, db);
    FillClipped(left, db, right, bottom);
  }

  void Stretched(std::int64_t w, std::int64_t h) const {
    if (right <= left || bottom <= top) return;
    canvas.StretchBlt(ClampToInt32(left), ClampToInt32(top), ClampToInt32(right - left), ClampToInt32(bottom - top),
                      bitmap, 0, 0, static_cast<int>(w), static_cast<int>(h));
  }

  // Each copy asks for everything down to the bottom-right corner; the
  // tiles after it paint over what lies beyond the bitmap. Tiles wholly
  // outside the clip rectangle would change nothing and are not laid.
  void Tiled(std::int64_t w, std::int64_t h) const {
    const TRect clip = canvas.ClipRect();
    const std::int64_t first_x = left + std::max<std::int64_t>(0, clip.Left - left) / w * w;
    const std::int64_t end_x = std::min<std::int64_t>(right, clip.Right);
    const std::int64_t end_y = std::min<std::int64_t>(bottom, clip.Bottom);
    for (std::int64_t y = top + std::max<std::int64_t>(0, clip.Top - top) / h * h; y < end_y; y += h) {
      for (std::int64_t x = first_x; x < end_x; x += w) Copy(x, y, right - x, bottom - y, 0, 0);
    }
  }
};

}  // namespace

std::string_view ToString(TPanelWallpaperStyle style) { return kWallpaperStyleNames.Name(style); }
TPanelWallpaperStyle ParsePanelWallpaperStyle(std::string_view text) { return kWallpaperStyleNames.Parse(text); }

void TPanelWallpaper::Changed() {
  if (OnChange) OnChange(this);
}

void TPanelWallpaper::SetBitmap(const TBitmap& value) {
  bitmap_.Assign(value);
  Changed();
}

void TPanelWallpaper::SetStyle(TPanelWallpaperStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TPanelWallpaper::Assign(const TPersistent& Source) {
  const auto* other = dynamic_cast<const TPanelWallpaper*>(&Source);
  if (!other) return TPersistent::Assign(Source);
  bitmap_.Assign(other->bitmap_);
  style_ = other->style_;
  Changed();
}

void TPanelWallpaper::Draw(TCanvas& Canvas, const TRect& Rect, TColor BackColor) const {
  const Painter p{Canvas, bitmap_, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom, BackColor};
  const std::int64_t w = bitmap_.Width(), h = bitmap_.Height();
  // A picture without pixels would never advance the tiling.
  if (bitmap_.Empty() || w <= 0 || h <= 0) return p.FillClipped(p.left, p.top, p.right, p.bottom);
  switch (style_) {
    case wpNone: return p.Plain(w, h);
    case wpCenter: return p.Centred(w, h);
    case wpStretch: return p.Stretched(w, h);
    case wpTile: {
      const TBitmap& block = TileBlock();
      const Painter tiles{Canvas, block, p.left, p.top, p.right, p.bottom, BackColor};
      return tiles.Tiled(block.Width(), block.Height());
    }
    default: return;
  }
}

const TBitmap& TPanelWallpaper::TileBlock() const {
  const int w = bitmap_.Width(), h = bitmap_.Height();
  const int across = (kTileBlockSide + w - 1) / w, down = (kTileBlockSide + h - 1) / h;
  if (across == 1 && down == 1) return bitmap_;
  if (tile_block_stamp_ != bitmap_.Stamp()) {
    tile_block_.SetSize(w * across, h * down);
    for (int y = 0; y < tile_block_.Height(); ++y) {
      for (int x = 0; x < tile_block_.Width(); ++x) tile_block_.SetPixel(x, y, bitmap_.Pixel(x % w, y % h));
    }
    tile_block_stamp_ = bitmap_.Stamp();
  }
  return tile_block_;
}

}  // namespace vexlan
