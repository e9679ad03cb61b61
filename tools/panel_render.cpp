// panel_render: paints an advanced panel described on the command line into
// a 24-bit BMP file, for looking at what the panel family draws.
//
//   panel_render OUT.bmp [Name=Value ...]
//
// The words are a panel's stored properties as a form description writes
// them (components/panel_description.h); Wallpaper.Bitmap names a BMP file.
// The panel is a real TAdvancedPanel, read from a layout onto a hidden form
// as the program's forms are, painted through the GDI canvas as its window
// would be; the file holds its client area.
//
// Exit codes: 0 the file is written; 2 the arguments are wrong (an unknown
// name, a bad value, a bitmap that cannot be read); 1 anything else failed.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "components/panel_description.h"
#include "components/win32/advanced_panel.h"
#include "forms/core/layout_kinds.h"
#include "forms/layout_writers.h"
#include "platform/toolkit/win32/gdi_canvas.h"
#include "platform/toolkit/win32/handles.h"
#include "platform/utf.h"

namespace {

using namespace vexlan;

std::string Narrow(const wchar_t* text) {
  const std::wstring w(text);
  return Utf16ToUtf8(std::u16string(w.begin(), w.end()));
}

std::filesystem::path PathOf(const std::string& utf8) {
  const std::u16string w = Utf8ToUtf16(utf8);
  return std::filesystem::path(std::wstring(w.begin(), w.end()));
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) throw EFOpenError("Cannot open file \"" + path + "\"");
  std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw EFOpenError("Cannot read file \"" + path + "\"");
  return data;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& data) {
  std::ofstream out(PathOf(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  out.close();
  if (!out) throw EFOpenError("Cannot write file \"" + path + "\"");
}

// A hidden form whose client area is the panel's size, so that no alignment
// changes it, holding the one panel.
class TRenderForm : public TForm {
 public:
  TRenderForm(const PanelDescription& d, std::span<const std::uint8_t> bitmap) : TForm(nullptr) {
    const ComponentLayout rows[] = {{.Name = "Panel", .Bounds = {0, 0, d.Width, d.Height}, .Align = d.Align,
                                     .TabOrder = 0, .Settings = PanelSettingsOf(d, bitmap)}};
    // Not sizeable: the system would keep a sizeable window within the screen.
    ReadForm(FormLayout{.Form = {.Caption = "panel_render", .ClientWidth = d.Width, .ClientHeight = d.Height,
                                 .Sizeable = false},
                        .Components = rows});
    panel = &LayoutComponent<TAdvancedPanel>(*this, "Panel");
  }
  std::string ClassName() const override { return "TPanelRenderForm"; }
  TAdvancedPanel* panel;
};

// The panel's client area as it paints it, as a BMP file.
std::vector<std::uint8_t> Render(TAdvancedPanel& panel) {
  const TBounds client = panel.ClientRect();
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.Width, -client.Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueDC dc(::CreateCompatibleDC(nullptr));
  UniqueBitmap surface(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dc || !surface || !bits) throw Exception("Cannot make a surface to paint on");
  {
    ScopedSelection selected(dc.get(), surface.get());
    TGdiCanvas canvas(dc.get());
    panel.PaintTo(canvas);
  }
  ::GdiFlush();
  TBitmap picture;
  picture.SetSize(client.Width, client.Height);
  const auto* pixels = static_cast<const TPixel*>(bits);
  for (int y = 0; y < client.Height; ++y) {
    for (int x = 0; x < client.Width; ++x) picture.SetPixel(x, y, pixels[y * client.Width + x] & 0xFFFFFF);
  }
  return picture.SaveToMemory();
}

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "panel_render: %s\n", message.c_str());
  return code;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    return Fail(2, "usage: panel_render OUT.bmp [Name=Value ...], for example Width=145 Height=60 "
                   "Border.Style=bsRound BevelOuter.Depth=2 Wallpaper.Style=wpTile Wallpaper.Bitmap=tile.bmp");
  }
  const std::string out = Narrow(argv[1]);
  std::vector<std::string> words;
  for (int i = 2; i < argc; ++i) words.push_back(Narrow(argv[i]));

  PanelDescription description;
  std::vector<std::uint8_t> bitmap;
  try {
    description = ParsePanelDescription(words);
    if (!description.WallpaperBitmap.empty()) {
      bitmap = ReadFile(description.WallpaperBitmap);
      TBitmap().LoadFromMemory(bitmap);
    }
  } catch (const EInvalidGraphic& e) {
    return Fail(2, "Wallpaper.Bitmap: " + description.WallpaperBitmap + ": " + e.what());
  } catch (const std::exception& e) {
    return Fail(2, e.what());
  }
  try {
    TRenderForm form(description, bitmap);
    WriteFile(out, Render(*form.panel));
  } catch (const std::exception& e) {
    return Fail(1, e.what());
  }
  return 0;
}
