#include "components/panel_description.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexlan {
namespace {

using Words = std::vector<std::string>;

TEST(PanelDescription, ReadsFormDescriptionWords) {
  const PanelDescription d = ParsePanelDescription(
      Words{"Width=145", "Height=60", "Align=alBottom", "Border.Style=bsRound", "Border.Sides=[psLeft,psTop]",
            "BevelOuter.Style=bvGroove", "BevelOuter.Depth=2", "BevelInner.SpaceOuter=3", "Wallpaper.Style=wpTile",
            "Wallpaper.Bitmap=tiles/a=b.bmp", "Color=$00123456"});
  EXPECT_EQ(d.Width, 145);
  EXPECT_EQ(d.Height, 60);
  EXPECT_EQ(d.Align, alBottom);
  EXPECT_EQ(d.Border, (PanelBorderSettings{.Sides = {psLeft, psTop}, .Style = bsRound}));
  EXPECT_EQ(d.BevelOuter, (PanelBevelSettings{.Style = bvGroove, .Depth = 2}));
  EXPECT_EQ(d.BevelInner, (PanelBevelSettings{.SpaceOuter = 3}));
  EXPECT_EQ(d.WallpaperStyle, wpTile);
  EXPECT_EQ(d.WallpaperBitmap, "tiles/a=b.bmp");
  EXPECT_EQ(d.Color, TColor{0x123456});

  const std::uint8_t bytes[] = {1, 2};
  const AdvancedPanelSettings given = PanelSettingsOf(d, bytes);
  EXPECT_FALSE(given.ParentColor);
  EXPECT_EQ(given.Color, TColor{0x123456});
  EXPECT_EQ(given.Wallpaper.Bitmap.data(), bytes);
  EXPECT_TRUE(PanelSettingsOf(PanelDescription{}, {}).ParentColor) << "no colour given: the parent's";
}

// Every property is printed, in a fixed order, except a colour or a picture
// that is not given.
TEST(PanelDescription, NoWordsIsAPanelMadeWithoutALayout) {
  EXPECT_EQ(ParsePanelDescription(Words{}), PanelDescription{});
  const Words words = PanelDescriptionWords(PanelDescription{});
  ASSERT_EQ(words.size(), 16u);
  EXPECT_EQ(words[0], "Width=145");
  EXPECT_EQ(words[3], "Border.Sides=[psLeft,psRight,psTop,psBottom]");
  EXPECT_EQ(words[6], "BevelOuter.Style=bvRaised");
  EXPECT_EQ(words[15], "Wallpaper.Style=wpTile");
}

TEST(PanelDescription, PrintedWordsReadBackAsTheSameDescription) {
  const PanelDescription descriptions[] = {
      {},
      {.Width = 1, .Height = kMaxPanelDescriptionSide, .Align = alClient, .Color = clBtnFace},
      {.Color = 0x80000001,
       .Border = {.Sides = TPanelSides::FromBits(0x3FF), .Style = bsFlat},
       .BevelOuter = {.Sides = {}, .Style = bvFlatDkShadow, .Depth = INT32_MAX, .SpaceOuter = INT32_MAX},
       .BevelInner = {.Sides = {psAlign, psNonAlignNext}, .Style = bvBump, .SpaceInner = 7},
       .WallpaperStyle = wpCenter,
       .WallpaperBitmap = "C:\\pictures\\tile 1.bmp"},
  };
  for (const PanelDescription& d : descriptions) {
    const Words words = PanelDescriptionWords(d);
    SCOPED_TRACE(words[0] + " " + words[2]);
    EXPECT_EQ(ParsePanelDescription(words), d);
  }
  for (TColor color : {clBlack, clWhite, cl3DLight, TColor{0x00ABCDEF}, TColor{0xFFFFFFFF}}) {
    EXPECT_EQ(ParseColor(ColorToString(color)), color) << ColorToString(color);
  }
  EXPECT_EQ(ColorToString(0x00ABCDEF), "$00ABCDEF");
  EXPECT_EQ(ParseColor("$00abcdef"), TColor{0x00ABCDEF});
}

TEST(PanelDescription, RejectsWhatIsNotAKnownPropertyWithAValidValueOnce) {
  const struct Case {
    Words words;
    const char* message;  // a piece of it
  } cases[] = {
      {{"Colour=clRed"}, "Unknown property 'Colour'; the properties are Width, Height"},
      {{"Width"}, "'Width' is not of the form Name=Value"},
      {{"Width=0"}, "Width: 0 is outside the range 1 to 4096"},
      {{"Width=12px"}, "Width: '12px' is not a valid integer"},
      {{"Width=10", "Width=10"}, "'Width' is given twice"},
      {{"Align=alMiddle"}, "Align: 'alMiddle' is not a valid TAlign"},
      {{"Border.Sides=psLeft"}, "Border.Sides: 'psLeft' is not a valid TPanelSides"},
      {{"Border.Style= bsRound"}, "Border.Style: ' bsRound' is not a valid TPanelBorderStyle"},
      {{"BevelOuter.Depth=0"}, "BevelOuter.Depth: 0 is outside the range 1 to 2147483647"},
      {{"BevelInner.SpaceInner=-1"}, "BevelInner.SpaceInner: -1 is outside"},
      {{"Color=$123"}, "Color: '$123' is not a valid TColor"},
      {{"Color=$0012345G"}, "not a valid TColor"},
      {{"Wallpaper.Bitmap="}, "Wallpaper.Bitmap: no file is named"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words[0]);
    try {
      ParsePanelDescription(c.words);
      ADD_FAILURE() << "read without an error";
    } catch (const EConvertError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace vexlan
