// The wallpaper decoration of the advanced panel: it paints the content
// rectangle with a bitmap placed plainly at the top-left corner, centred,
// stretched or tiled, and a background colour wherever the bitmap does not
// reach. A bitmap without pixels (empty, or 0 wide or high) paints the
// whole rectangle in the background colour. A copy whose destination has no
// area is not issued.
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

  TBitmap bitmap_;
  TPanelWallpaperStyle style_ = wpTile;
};

}  // namespace vexlan
