// Drawing for the toolkit: colours, rectangles, pens and brushes, bitmaps
// held as portable pixels, and the abstract canvas that controls paint on.
//
// The canvas carries the platform's pixel rules, and the helpers at the end
// of this file state them once for every implementation: a line covers its
// start point and every pixel towards its end point but not the end point
// itself; a filled rectangle covers its left and top edges and stops before
// its right and bottom edges; a copy is 1:1 and a stretched copy picks whole
// source rows and columns. The GDI canvas (platform/toolkit/win32/
// gdi_canvas.h) draws with the system, the memory canvas (memory_canvas.h)
// into a pixel buffer.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/toolkit/classes.h"
#include "platform/toolkit/sysutils.h"

namespace vexlan {

// 0x00BBGGRR, or a system colour: 0x80000000 plus the Windows colour index,
// resolved by the canvas when it draws.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clSystemColor = 0x80000000;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnShadow = clSystemColor | 16;
inline constexpr TColor clBtnHighlight = clSystemColor | 20;
inline constexpr TColor cl3DDkShadow = clSystemColor | 21;
inline constexpr TColor cl3DLight = clSystemColor | 22;

constexpr bool IsSystemColor(TColor color) { return (color & clSystemColor) != 0; }
constexpr unsigned SystemColorIndex(TColor color) { return color & 0xFF; }

// A pixel as a 32-bit DIB stores it: 0x00RRGGBB (bytes blue, green, red, 0).
using TPixel = std::uint32_t;

constexpr TPixel RGBToPixel(TColor rgb) {
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// The pixels of the system colours by index, COLOR_SCROLLBAR (0) to
// COLOR_MENUBAR (30). An index beyond the table resolves to black, as the
// system answers for an unknown index.
inline constexpr std::size_t kSystemColorCount = 31;
using TSystemColors = std::array<TPixel, kSystemColorCount>;

constexpr TPixel ColorToPixel(TColor color, const TSystemColors& system) {
  if (!IsSystemColor(color)) return RGBToPixel(color & 0xFFFFFF);
  const unsigned index = SystemColorIndex(color);
  return index < system.size() ? system[index] : 0;
}

struct TPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and Bottom are the first column and row outside.
struct TRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

// The value nearest to `v` in the 32-bit signed range.
constexpr std::int32_t ClampToInt32(std::int64_t v) {
  return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(v);
}

// A dotted pen paints a line's start point and every second pixel after it.
enum TPenStyle : std::uint8_t { psSolid, psClear, psDot };
enum TBrushStyle : std::uint8_t { bsSolid, bsClear };

// Width 0 and 1 both draw one-pixel lines; the canvases draw no wider pens.
struct TPen {
  TColor Color = clBlack;
  TPenStyle Style = psSolid;
  int Width = 1;
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
};

// A picture that cannot be read or made.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

// A file that cannot be opened or read.
class EFOpenError : public Exception {
 public:
  using Exception::Exception;
};

// A picture held as pixels, rows from the top. A new bitmap is empty: it has
// no picture. SetSize or loading gives it one, which may have a width or
// height of 0 and still not be empty, as on the platform; code that walks a
// picture must check its size, not only Empty.
class TBitmap : public TPersistent {
 public:
  TBitmap() = default;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  std::string ClassName() const override { return "TBitmap"; }
  bool Empty() const { return !has_picture_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // A black picture of that size; EInvalidGraphic for a negative size or
  // one whose pixels could not be counted in memory.
  void SetSize(int width, int height);
  // Back to no picture.
  void Clear();
  // std::out_of_range outside the picture.
  TPixel Pixel(int x, int y) const;
  void SetPixel(int x, int y, TPixel value);
  std::span<const TPixel> Pixels() const { return pixels_; }
  // Names the current picture: it changes whenever the picture does, and no
  // two pictures ever share it, so a copy kept elsewhere (a GDI bitmap) can
  // be reused while the stamp is unchanged.
  std::uint64_t Stamp() const { return stamp_; }

  // Copies another bitmap's picture (or its emptiness); other sources go to
  // TPersistent::Assign.
  void Assign(const TPersistent& source) override;

  // Reads an uncompressed 24- or 32-bit BMP file, rows stored bottom-up or
  // top-down. Anything else raises EInvalidGraphic and leaves the bitmap as
  // it was; a file that cannot be read raises EFOpenError.
  void LoadFromFile(const std::string& path);
  void LoadFromMemory(std::span<const std::uint8_t> data);
  // The picture as an uncompressed 24-bit BMP file, rows stored bottom-up,
  // which LoadFromMemory reads back pixel for pixel. EInvalidGraphic for a
  // bitmap without pixels or too large for the format's 32-bit sizes.
  std::vector<std::uint8_t> SaveToMemory() const;

 private:
  void NewStamp();

  bool has_picture_ = false;
  int width_ = 0;
  int height_ = 0;
  std::vector<TPixel> pixels_;
  std::uint64_t stamp_ = 0;
};

// A drawing surface. Coordinates are 32-bit; nothing is drawn outside
// ClipRect. Pen and Brush are read when an operation draws.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  TPen Pen;
  TBrush Brush;

  TPoint PenPos() const { return pen_pos_; }
  virtual void MoveTo(int X, int Y) { pen_pos_ = {X, Y}; }
  // Draws from PenPos towards (X, Y), start included, end excluded (nothing
  // when they are equal), then moves PenPos there. Lines are horizontal or
  // vertical: a slanted one raises std::invalid_argument and draws nothing.
  virtual void LineTo(int X, int Y) = 0;
  // Fills with the brush; a rectangle without area fills nothing.
  virtual void FillRect(const TRect& Rect) = 0;
  // Copies Source 1:1 from (XSrc, YSrc) to (X, Y), Width by Height pixels.
  // Only what lies inside the source picture is copied; a copy without area
  // draws nothing.
  virtual void BitBlt(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc) = 0;
  // Scales the source rectangle onto the destination rectangle, picking
  // whole source pixels (COLORONCOLOR: shrinking drops rows and columns).
  // All four sizes must be positive and the source rectangle inside the
  // picture; otherwise nothing is drawn.
  virtual void StretchBlt(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc,
                          int SrcWidth, int SrcHeight) = 0;
  // Bounds what drawing can reach; outside it nothing changes.
  virtual TRect ClipRect() const = 0;

 protected:
  TPoint pen_pos_;
};

// --- The pixel rules, shared by the canvases --------------------------------

// A horizontal or vertical run of pixels: From and every pixel towards To,
// To excluded; From != To.
struct TLineRun {
  TPoint From;
  TPoint To;
};

// The part of the line from `from` to `to` (end excluded) that lies in
// `clip`, as a run in the same direction; none when nothing is inside.
// std::invalid_argument for a slanted line.
std::optional<TLineRun> ClipLine(TPoint from, TPoint to, const TRect& clip);

// The part of `rect` inside `clip`, when it has area.
std::optional<TRect> ClipFill(const TRect& rect, const TRect& clip);

// A 1:1 copy reduced to what lies inside the source picture and the clip:
// the destination rectangle and the source point of its top-left pixel.
struct TCopyArea {
  TRect Dest;
  TPoint Source;
};
std::optional<TCopyArea> ClipCopy(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc,
                                  const TRect& clip);

// Whether a dotted line drawn from `start` paints pixel `p` of it.
constexpr bool DotPainted(TPoint start, TPoint p) {
  const std::int64_t dx = std::int64_t{p.X} - start.X, dy = std::int64_t{p.Y} - start.Y;
  return (dx + dy) % 2 == 0;
}

// Whether a stretched copy with these arguments draws at all.
bool StretchDraws(int Width, int Height, const TBitmap& Source, int XSrc, int YSrc, int SrcWidth, int SrcHeight);

}  // namespace vexlan
