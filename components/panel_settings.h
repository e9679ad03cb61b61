// The stored properties of an advanced panel as a layout row gives them:
// the panel's colour and one typed group per decoration, read like a form
// file's Border.Sides, BevelOuter.Depth, Wallpaper.Style. The defaults are
// those of a panel made without a layout.
#pragma once

#include <cstdint>
#include <span>

#include "components/panel_frames.h"
#include "components/panel_sides.h"
#include "components/panel_wallpaper.h"
#include "platform/toolkit/graphics.h"
#include "platform/toolkit/layout.h"

namespace vexlan {

// The width and height of a panel made without a layout.
inline constexpr int kPanelDefaultSize = 145;

struct PanelBorderSettings {
  TPanelSides Sides = kAllRealSides;
  TPanelBorderStyle Style = bsNone;
  friend bool operator==(const PanelBorderSettings&, const PanelBorderSettings&) = default;
};

struct PanelBevelSettings {
  TPanelSides Sides = kAllRealSides;
  TPanelBevelStyle Style = bvNone;
  std::int32_t Depth = 1;       // 1 or more
  std::int32_t SpaceOuter = 0;  // 0 or more
  std::int32_t SpaceInner = 0;  // 0 or more
  friend bool operator==(const PanelBevelSettings&, const PanelBevelSettings&) = default;
};

struct PanelWallpaperSettings {
  TPanelWallpaperStyle Style = wpTile;
  // The picture as the bytes of a BMP file; none when empty.
  std::span<const std::uint8_t> Bitmap{};
};

struct AdvancedPanelSettings {
  static constexpr LayoutRole kRole = LayoutRole::Control;
  // Used only without ParentColor, which takes the parent's colour.
  TColor Color = clWindow;
  bool ParentColor = true;
  PanelBorderSettings Border{};
  PanelBevelSettings BevelOuter{.Style = bvRaised};
  PanelBevelSettings BevelInner{};
  PanelWallpaperSettings Wallpaper{};
};

}  // namespace vexlan
