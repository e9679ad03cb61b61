// The wallpaper decoration of the advanced panel: it paints the content
// rectangle with a bitmap placed plainly at the top-left corner, centred,
// stretched or tiled, and a background colour wherever the bitmap does not
// reach. A bitmap without pixels (empty, or 0 wide or high) paints the
// whole rectangle in the background colour. A copy whose destination has no
// area is not issued. Tiling lays blocks of whole tiles, each copy covering
// many tiles at once, and only where they reach the canvas's clip
// rectangle: the pixels are those of laying the bitmap tile by tile, and the
// work follows the area painted, not the rectangle's extent.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/toolkit/classes.h"
#include "platform/toolkit/events.h"
#include "platform/toolkit/graphics.h"

namespace vexlan {

enum TPanelWallpaperStyle : std::uint8_t { wpNone, wpCenter, wpStretch, wpTile };

std::string_view ToString(TPanelWallpaperStyle style);
TPanelWallpaperStyle ParsePanelWallpaperStyle(std::string_view text);

class TPanelWallpaper : public TPersistent {
 public:
  TPanelWallpaper() = default;
  std::string ClassName() const override { return "TPanelWallpaper"; }

  // The wallpaper's own bitmap, for its whole life. Changing its picture
  // directly does not call OnChange.
  TBitmap& Bitmap() { return bitmap_; }
  const TBitmap& Bitmap() const { return bitmap_; }
  // Copies `value`'s picture into the own bitmap, then calls OnChange, also
  // when the picture is the same. If the copy fails, nothing is notified.
  void SetBitmap(const TBitmap& value);
  TPanelWallpaperStyle Style() const { return style_; }
  // Stores a changed style, then calls OnChange.
  void SetStyle(TPanelWallpaperStyle value);
  TNotifyEvent OnChange;

  // From another wallpaper: copies its picture and style, then calls
  // OnChange once. Other sources go to TPersistent::Assign.
  void Assign(const TPersistent& Source) override;
  // Paints `Rect`; `BackColor` wherever the bitmap does not go. A style
  // outside the enumeration paints nothing. May leave the brush solid
  // BackColor.
  void Draw(TCanvas& Canvas, const TRect& Rect, TColor BackColor) const;

 private:
  void Changed();
  // The bitmap repeated into a block at least kTileBlockSide pixels each way
  // (the bitmap itself when it is that large), remade when the bitmap's
  // picture has changed since.
  const TBitmap& TileBlock() const;

  TBitmap bitmap_;
  TPanelWallpaperStyle style_ = wpTile;
  mutable TBitmap tile_block_;
  mutable std::uint64_t tile_block_stamp_ = 0;  // of the picture the block repeats
};

}  // namespace vexlan
