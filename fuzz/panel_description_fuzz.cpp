// The render command's Name=Value words: a description printed as words
// reads back as itself; words that read at all read back the same after
// printing; colours print and read back.
#include <string>
#include <vector>

#include "components/panel_description.h"
#include "fuzz/fuzz_check.h"

using namespace vexlan;

namespace {

PanelBevelSettings AnyBevel(FuzzedDataProvider& in) {
  return {.Sides = TPanelSides::FromBits(in.ConsumeIntegral<std::uint16_t>()),
          .Style = static_cast<TPanelBevelStyle>(in.ConsumeIntegralInRange(0, 7)),
          .Depth = in.ConsumeIntegralInRange<std::int32_t>(1, INT32_MAX),
          .SpaceOuter = in.ConsumeIntegralInRange<std::int32_t>(0, INT32_MAX),
          .SpaceInner = in.ConsumeIntegralInRange<std::int32_t>(0, INT32_MAX)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const auto color = in.ConsumeIntegral<TColor>();
  FUZZ_CHECK(ParseColor(ColorToString(color)) == color);

  PanelDescription made;
  made.Width = in.ConsumeIntegralInRange(1, kMaxPanelDescriptionSide);
  made.Height = in.ConsumeIntegralInRange(1, kMaxPanelDescriptionSide);
  made.Align = static_cast<TAlign>(in.ConsumeIntegralInRange(0, 5));
  if (in.ConsumeBool()) made.Color = color;
  made.Border = {.Sides = TPanelSides::FromBits(in.ConsumeIntegral<std::uint16_t>()),
                 .Style = static_cast<TPanelBorderStyle>(in.ConsumeIntegralInRange(0, 4))};
  made.BevelOuter = AnyBevel(in);
  made.BevelInner = AnyBevel(in);
  made.WallpaperStyle = static_cast<TPanelWallpaperStyle>(in.ConsumeIntegralInRange(0, 3));
  made.WallpaperBitmap = in.ConsumeRandomLengthString(64);
  FUZZ_CHECK(ParsePanelDescription(PanelDescriptionWords(made)) == made);

  // Any words, one per line of the rest.
  std::vector<std::string> words;
  const std::string rest = in.ConsumeRemainingBytesAsString();
  for (std::size_t start = 0; start <= rest.size() && words.size() < 32;) {
    const std::size_t end = std::min(rest.find('\n', start), rest.size());
    words.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
  try {
    const PanelDescription read = ParsePanelDescription(words);
    const std::vector<std::string> printed = PanelDescriptionWords(read);
    FUZZ_CHECK(ParsePanelDescription(printed) == read);
    FUZZ_CHECK(read.Width >= 1 && read.Width <= kMaxPanelDescriptionSide);
    FUZZ_CHECK(read.Height >= 1 && read.Height <= kMaxPanelDescriptionSide);
    FUZZ_CHECK(read.BevelOuter.Depth >= 1 && read.BevelInner.Depth >= 1);
  } catch (const EConvertError&) {
  }
  try {
    const TColor parsed = ParseColor(rest);
    FUZZ_CHECK(ParseColor(ColorToString(parsed)) == parsed);
  } catch (const EConvertError&) {
  }
  return 0;
}
