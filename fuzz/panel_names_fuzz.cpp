// Form-description values read from text: side sets ("[psLeft,psTop]") and
// the decorations' enumeration names. Printing a value and reading it back
// gives the value; reading is stable, parse(print(parse(t))) = parse(t); a
// name reads back only as itself.
#include <string>

#include "components/panel_frames.h"
#include "components/panel_sides.h"
#include "components/panel_wallpaper.h"
#include "fuzz/fuzz_check.h"

using namespace vexlan;

namespace {

// For the names of one enumeration: the values numbered below the first
// that has no name print and read back; those from it on do not print.
template <class E, class Print, class Parse>
void CheckNames(unsigned value, const std::string& text, Print print, Parse parse) {
  static const unsigned named = [&] {
    unsigned n = 0;
    for (;; ++n) {
      try {
        print(static_cast<E>(n));
      } catch (const EConvertError&) {
        return n;
      }
    }
  }();
  FUZZ_CHECK(named > 0);
  if (value < named) {
    FUZZ_CHECK(parse(print(static_cast<E>(value))) == static_cast<E>(value));
  } else {
    bool refused = false;
    try {
      print(static_cast<E>(value));
    } catch (const EConvertError&) {
      refused = true;
    }
    FUZZ_CHECK(refused);
  }
  try {
    FUZZ_CHECK(print(parse(text)) == text);
  } catch (const EConvertError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const auto bits = in.ConsumeIntegral<std::uint16_t>();
  const auto value = in.ConsumeIntegral<std::uint8_t>();
  const std::string text = in.ConsumeRemainingBytesAsString();

  const TPanelSides sides = TPanelSides::FromBits(bits);
  FUZZ_CHECK(sides.Bits() == (bits & ((1u << kPanelSideCount) - 1)));
  FUZZ_CHECK(ParsePanelSides(ToString(sides)) == sides);
  try {
    const TPanelSides parsed = ParsePanelSides(text);
    FUZZ_CHECK(ParsePanelSides(ToString(parsed)) == parsed);
    FUZZ_CHECK(text.front() == '[' && text.back() == ']');
  } catch (const EConvertError&) {
  }

  CheckNames<TPanelBorderStyle>(value, text, [](TPanelBorderStyle s) { return std::string(ToString(s)); },
                                ParsePanelBorderStyle);
  CheckNames<TPanelBevelStyle>(value, text, [](TPanelBevelStyle s) { return std::string(ToString(s)); },
                               ParsePanelBevelStyle);
  CheckNames<TPanelWallpaperStyle>(value, text, [](TPanelWallpaperStyle s) { return std::string(ToString(s)); },
                                   ParsePanelWallpaperStyle);
  return 0;
}
