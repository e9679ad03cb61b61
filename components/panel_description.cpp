#include "components/panel_description.h"

#include <functional>
#include <set>

#include "platform/toolkit/enum_names.h"
#include "platform/toolkit/sysutils.h"

namespace vexlan {

namespace {

constexpr EnumNames<TAlign, 6> kAlignNames{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};

constexpr struct {
  TColor color;
  std::string_view name;
} kColorNames[] = {{clBlack, "clBlack"},         {clWhite, "clWhite"},         {clWindow, "clWindow"},
                   {clBtnFace, "clBtnFace"},     {clBtnShadow, "clBtnShadow"}, {clBtnHighlight, "clBtnHighlight"},
                   {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}};

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

std::int32_t ReadInt(std::string_view text, std::int32_t low, std::int32_t high) {
  const std::int32_t n = StrToInt(text);
  if (n < low || n > high) {
    throw EConvertError(IntToStr(n) + " is outside the range " + IntToStr(low) + " to " + IntToStr(high));
  }
  return n;
}

// One property: how its value is read into a description, and its value's
// text (none when the description leaves it unset).
struct Property {
  std::string name;
  std::function<void(PanelDescription&, std::string_view)> read;
  std::function<std::optional<std::string>(const PanelDescription&)> print;
};

std::vector<Property> MakeProperties() {
  using D = PanelDescription;
  std::vector<Property> p;
  p.push_back({"Width", [](D& d, std::string_view v) { d.Width = ReadInt(v, 1, kMaxPanelDescriptionSide); },
               [](const D& d) { return IntToStr(d.Width); }});
  p.push_back({"Height", [](D& d, std::string_view v) { d.Height = ReadInt(v, 1, kMaxPanelDescriptionSide); },
               [](const D& d) { return IntToStr(d.Height); }});
  p.push_back({"Align", [](D& d, std::string_view v) { d.Align = kAlignNames.Parse(v); },
               [](const D& d) { return std::string(kAlignNames.Name(d.Align)); }});
  p.push_back({"Color", [](D& d, std::string_view v) { d.Color = ParseColor(v); },
               [](const D& d) -> std::optional<std::string> {
                 if (!d.Color) return std::nullopt;
                 return ColorToString(*d.Color);
               }});
  p.push_back({"Border.Sides", [](D& d, std::string_view v) { d.Border.Sides = ParsePanelSides(v); },
               [](const D& d) { return ToString(d.Border.Sides); }});
  p.push_back({"Border.Style", [](D& d, std::string_view v) { d.Border.Style = ParsePanelBorderStyle(v); },
               [](const D& d) { return std::string(ToString(d.Border.Style)); }});
  for (const auto& group : {std::pair{"BevelOuter", &D::BevelOuter}, std::pair{"BevelInner", &D::BevelInner}}) {
    // A plain variable, not a structured binding: clang before 16 cannot capture those.
    const auto bevel = group.second;
    const std::string prefix = std::string(group.first) + ".";
    p.push_back({prefix + "Sides", [bevel](D& d, std::string_view v) { (d.*bevel).Sides = ParsePanelSides(v); },
                 [bevel](const D& d) { return ToString((d.*bevel).Sides); }});
    p.push_back({prefix + "Style", [bevel](D& d, std::string_view v) { (d.*bevel).Style = ParsePanelBevelStyle(v); },
                 [bevel](const D& d) { return std::string(ToString((d.*bevel).Style)); }});
    p.push_back({prefix + "Depth", [bevel](D& d, std::string_view v) { (d.*bevel).Depth = ReadInt(v, 1, INT32_MAX); },
                 [bevel](const D& d) { return IntToStr((d.*bevel).Depth); }});
    p.push_back({prefix + "SpaceOuter",
                 [bevel](D& d, std::string_view v) { (d.*bevel).SpaceOuter = ReadInt(v, 0, INT32_MAX); },
                 [bevel](const D& d) { return IntToStr((d.*bevel).SpaceOuter); }});
    p.push_back({prefix + "SpaceInner",
                 [bevel](D& d, std::string_view v) { (d.*bevel).SpaceInner = ReadInt(v, 0, INT32_MAX); },
                 [bevel](const D& d) { return IntToStr((d.*bevel).SpaceInner); }});
  }
  p.push_back({"Wallpaper.Style", [](D& d, std::string_view v) { d.WallpaperStyle = ParsePanelWallpaperStyle(v); },
               [](const D& d) { return std::string(ToString(d.WallpaperStyle)); }});
  p.push_back({"Wallpaper.Bitmap",
               [](D& d, std::string_view v) {
                 if (v.empty()) throw EConvertError("no file is named");
                 d.WallpaperBitmap = v;
               },
               [](const D& d) -> std::optional<std::string> {
                 if (d.WallpaperBitmap.empty()) return std::nullopt;
                 return d.WallpaperBitmap;
               }});
  return p;
}

const std::vector<Property>& Properties() {
  static const std::vector<Property> properties = MakeProperties();
  return properties;
}

std::string PropertyNames() {
  std::string names;
  for (const Property& p : Properties()) names += (names.empty() ? "" : ", ") + p.name;
  return names;
}

}  // namespace

std::string ColorToString(TColor color) {
  for (const auto& entry : kColorNames) {
    if (entry.color == color) return std::string(entry.name);
  }
  // Appended, not "$" + a temporary: g++ 12 at -O3 warns falsely (-Wrestrict) on that.
  std::string text = "$";
  text += IntToHex(static_cast<std::int64_t>(color), 8);
  return text;
}

TColor ParseColor(std::string_view text) {
  for (const auto& entry : kColorNames) {
    if (entry.name == text) return entry.color;
  }
  const auto bad = [&] { return EConvertError("'" + std::string(text) + "' is not a valid TColor value"); };
  if (text.size() != 9 || text[0] != '$') throw bad();
  TColor color = 0;
  for (char c : text.substr(1)) {
    const auto digit = kHexDigits.find(static_cast<char>(c >= 'a' ? c - 'a' + 'A' : c));
    if (digit == std::string_view::npos) throw bad();
    color = color << 4 | static_cast<TColor>(digit);
  }
  return color;
}

PanelDescription ParsePanelDescription(std::span<const std::string> words) {
  PanelDescription d;
  std::set<std::string_view> given;
  for (const std::string& word : words) {
    const std::size_t eq = word.find('=');
    if (eq == std::string::npos || eq == 0) throw EConvertError("'" + word + "' is not of the form Name=Value");
    const std::string_view name = std::string_view(word).substr(0, eq);
    const Property* property = nullptr;
    for (const Property& p : Properties()) {
      if (p.name == name) property = &p;
    }
    if (!property) {
      throw EConvertError("Unknown property '" + std::string(name) + "'; the properties are " + PropertyNames());
    }
    if (!given.insert(property->name).second) throw EConvertError("'" + std::string(name) + "' is given twice");
    try {
      property->read(d, std::string_view(word).substr(eq + 1));
    } catch (const EConvertError& e) {
      throw EConvertError(std::string(name) + ": " + e.what());
    }
  }
  return d;
}

std::vector<std::string> PanelDescriptionWords(const PanelDescription& description) {
  std::vector<std::string> words;
  for (const Property& p : Properties()) {
    if (const std::optional<std::string> value = p.print(description)) words.push_back(p.name + "=" + *value);
  }
  return words;
}

AdvancedPanelSettings PanelSettingsOf(const PanelDescription& d, std::span<const std::uint8_t> bitmap) {
  return {.Color = d.Color.value_or(clWindow),
          .ParentColor = !d.Color,
          .Border = d.Border,
          .BevelOuter = d.BevelOuter,
          .BevelInner = d.BevelInner,
          .Wallpaper = {.Style = d.WallpaperStyle, .Bitmap = bitmap}};
}

}  // namespace vexlan
