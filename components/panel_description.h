// A panel described in the words of a form description, one Name=Value word
// per property, as the render command takes it:
//   Width=145 Height=60 Align=alBottom Border.Style=bsRound
//   Border.Sides=[psLeft,psTop] BevelOuter.Depth=2 Wallpaper.Bitmap=tile.bmp
// Reading is strict: every word must name a known property once and give it
// a valid value; the words printed for a description read back as the same
// description.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "components/panel_settings.h"
#include "platform/toolkit/control_layout.h"
#include "platform/toolkit/graphics.h"

namespace vexlan {

// The largest Width or Height a description may give.
inline constexpr int kMaxPanelDescriptionSide = 4096;

struct PanelDescription {
  int Width = kPanelDefaultSize;  // 1 to kMaxPanelDescriptionSide
  int Height = kPanelDefaultSize;
  TAlign Align = alNone;
  std::optional<TColor> Color{};  // none: the parent's colour
  PanelBorderSettings Border{};
  PanelBevelSettings BevelOuter{.Style = bvRaised};
  PanelBevelSettings BevelInner{};
  TPanelWallpaperStyle WallpaperStyle = wpTile;
  std::string WallpaperBitmap{};  // the path of a BMP file; empty: no picture
  friend bool operator==(const PanelDescription&, const PanelDescription&) = default;
};

// Reads the words; EConvertError naming the word for an unknown or repeated
// property, a word without "=", or a value the property does not take.
PanelDescription ParsePanelDescription(std::span<const std::string> words);
// The words of every property, in a fixed order; Color and
// Wallpaper.Bitmap only when set.
std::vector<std::string> PanelDescriptionWords(const PanelDescription& description);

// The stored properties a layout row gives such a panel; `bitmap` holds the
// bytes of the wallpaper's picture file, or nothing.
AdvancedPanelSettings PanelSettingsOf(const PanelDescription& description, std::span<const std::uint8_t> bitmap);

// Colours as form descriptions write them: a name (clBtnFace) where the
// colour has one, otherwise '$' and eight hexadecimal digits.
std::string ColorToString(TColor color);
TColor ParseColor(std::string_view text);

}  // namespace vexlan
