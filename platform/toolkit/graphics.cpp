#include "platform/toolkit/graphics.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace vexlan {

namespace {

std::uint64_t NextStamp() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

// The number of pixels of a width by height picture.
std::size_t PixelCount(std::int64_t width, std::int64_t height) {
  if (width < 0 || height < 0 ||
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > std::vector<TPixel>().max_size()) {
    throw EInvalidGraphic("A bitmap cannot be " + IntToStr(width) + " by " + IntToStr(height) + " pixels");
  }
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// Little-endian fields of a BMP file, each read only after the caller has
// checked that the bytes exist.
std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
  return std::uint32_t{d[at]} | std::uint32_t{d[at + 1]} << 8 | std::uint32_t{d[at + 2]} << 16 |
         std::uint32_t{d[at + 3]} << 24;
}
std::uint16_t U16(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
}
std::int32_t I32(std::span<const std::uint8_t> d, std::size_t at) { return static_cast<std::int32_t>(U32(d, at)); }

[[noreturn]] void Invalid(const std::string& why) { throw EInvalidGraphic("Bitmap image is not valid: " + why); }

}  // namespace

void TBitmap::NewStamp() { stamp_ = NextStamp(); }

void TBitmap::SetSize(int width, int height) {
  pixels_.assign(PixelCount(width, height), 0);
  width_ = width;
  height_ = height;
  has_picture_ = true;
  NewStamp();
}

void TBitmap::Clear() {
  pixels_.clear();
  width_ = height_ = 0;
  has_picture_ = false;
  NewStamp();
}

TPixel TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) throw std::out_of_range("pixel outside the bitmap");
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

void TBitmap::SetPixel(int x, int y, TPixel value) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) throw std::out_of_range("pixel outside the bitmap");
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] = value;
  NewStamp();
}

void TBitmap::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TBitmap*>(&source);
  if (!other) return TPersistent::Assign(source);
  if (other == this) return;
  pixels_ = other->pixels_;  // may throw; nothing else has changed yet
  width_ = other->width_;
  height_ = other->height_;
  has_picture_ = other->has_picture_;
  NewStamp();
}

void TBitmap::LoadFromFile(const std::string& path) {
  // The C library's files, not the C++ streams, which would bring their
  // locale machinery into every program that holds a bitmap.
  struct Close {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  const std::unique_ptr<std::FILE, Close> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw EFOpenError("Cannot open file \"" + path + "\"");
  std::vector<std::uint8_t> data;
  std::uint8_t chunk[4096];
  while (const std::size_t read = std::fread(chunk, 1, sizeof chunk, file.get())) {
    data.insert(data.end(), chunk, chunk + read);
  }
  if (std::ferror(file.get())) throw EFOpenError("Cannot read file \"" + path + "\"");
  LoadFromMemory(data);
}

void TBitmap::LoadFromMemory(std::span<const std::uint8_t> d) {
  constexpr std::size_t kFileHeader = 14;
  constexpr std::uint32_t kRGB = 0, kBitFields = 3;
  if (d.size() < kFileHeader + 4 || d[0] != 'B' || d[1] != 'M') Invalid("not a BMP file");
  const std::uint32_t pixel_offset = U32(d, 10);
  const std::uint32_t header_size = U32(d, 14);
  // BITMAPINFOHEADER and its longer successors (V2, V3, V4, V5).
  if (header_size != 40 && header_size != 52 && header_size != 56 && header_size != 108 && header_size != 124) {
    Invalid("unsupported header of " + IntToStr(header_size) + " bytes");
  }
  if (d.size() < kFileHeader + header_size) Invalid("the file is truncated");
  const std::int32_t width = I32(d, 18);
  const std::int32_t height = I32(d, 22);
  const unsigned bits = U16(d, 28);
  const std::uint32_t compression = U32(d, 30);
  if (U16(d, 26) != 1) Invalid("more than one plane");
  if (bits != 24 && bits != 32) Invalid(IntToStr(bits) + " bits per pixel (24 and 32 are read)");
  if (compression == kBitFields && bits == 32) {
    // The masks follow a 40-byte header and are part of the longer ones.
    const std::size_t masks = kFileHeader + 40;
    if (d.size() < masks + 12) Invalid("the file is truncated");
    if (U32(d, masks) != 0xFF0000 || U32(d, masks + 4) != 0xFF00 || U32(d, masks + 8) != 0xFF) {
      Invalid("colour masks other than 8 bits each of red, green and blue");
    }
  } else if (compression != kRGB) {
    Invalid("compression method " + IntToStr(compression) + " (only uncompressed pixels are read)");
  }
  if (width <= 0 || height == 0 || height == INT32_MIN) {
    Invalid("a size of " + IntToStr(width) + " by " + IntToStr(height));
  }
  const bool top_down = height < 0;
  const std::int64_t rows64 = top_down ? -std::int64_t{height} : height;
  // In 64 bits: a row of the widest picture does not fit a 32-bit size.
  const std::uint64_t stride = (std::uint64_t{static_cast<std::uint32_t>(width)} * bits + 31) / 32 * 4;
  if (pixel_offset > d.size() || (d.size() - pixel_offset) / stride < static_cast<std::uint64_t>(rows64)) {
    Invalid("the file is truncated");
  }
  // The pixel data lies within the file, so these sizes fit in memory.
  const auto rows = static_cast<std::size_t>(rows64), columns = static_cast<std::size_t>(width);
  const std::size_t bytes_per_pixel = bits / 8;
  std::vector<TPixel> pixels(PixelCount(width, rows64));
  for (std::size_t r = 0; r < rows; ++r) {
    const std::size_t y = top_down ? r : rows - 1 - r;
    const std::uint8_t* p = d.data() + pixel_offset + r * static_cast<std::size_t>(stride);
    for (std::size_t x = 0; x < columns; ++x, p += bytes_per_pixel) {
      pixels[y * columns + x] = TPixel{p[0]} | TPixel{p[1]} << 8 | TPixel{p[2]} << 16;
    }
  }
  pixels_ = std::move(pixels);
  width_ = width;
  height_ = static_cast<int>(rows);
  has_picture_ = true;
  NewStamp();
}

std::vector<std::uint8_t> TBitmap::SaveToMemory() const {
  if (width_ <= 0 || height_ <= 0) Invalid("a picture without pixels cannot be saved");
  constexpr std::uint32_t kHeaders = 14 + 40;
  const std::uint64_t stride = (std::uint64_t{static_cast<std::uint32_t>(width_)} * 3 + 3) / 4 * 4;
  const std::uint64_t size = kHeaders + stride * static_cast<std::uint32_t>(height_);
  if (size > UINT32_MAX) Invalid("a size of " + IntToStr(width_) + " by " + IntToStr(height_) + " is too large");
  std::vector<std::uint8_t> d(static_cast<std::size_t>(size), 0);
  auto put32 = [&d](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) d[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  d[0] = 'B';
  d[1] = 'M';
  put32(2, static_cast<std::uint32_t>(size));
  put32(10, kHeaders);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width_));
  put32(22, static_cast<std::uint32_t>(height_));
  d[26] = 1;   // planes
  d[28] = 24;  // bits per pixel; compression and the rest stay 0
  const auto columns = static_cast<std::size_t>(width_);
  for (std::size_t y = 0; y < static_cast<std::size_t>(height_); ++y) {
    std::uint8_t* p = d.data() + kHeaders + (static_cast<std::size_t>(height_) - 1 - y) * stride;
    for (std::size_t x = 0; x < columns; ++x, p += 3) {
      const TPixel pixel = pixels_[y * columns + x];
      p[0] = static_cast<std::uint8_t>(pixel);
      p[1] = static_cast<std::uint8_t>(pixel >> 8);
      p[2] = static_cast<std::uint8_t>(pixel >> 16);
    }
  }
  return d;
}

// --- The pixel rules ----------------------------------------------------------

namespace {

// A rectangle in 64 bits, so that edges computed from 32-bit values cannot
// overflow before they are clipped.
struct Rect64 {
  std::int64_t Left, Top, Right, Bottom;
};

// The clip reduced so that the pixel before its left and top edges still has
// a 32-bit coordinate: a clipped leftward or upward run ends there.
Rect64 Intersect(const Rect64& a, const TRect& clip) {
  return {std::max<std::int64_t>({a.Left, clip.Left, std::int64_t{INT32_MIN} + 1}),
          std::max<std::int64_t>({a.Top, clip.Top, std::int64_t{INT32_MIN} + 1}),
          std::min<std::int64_t>(a.Right, clip.Right), std::min<std::int64_t>(a.Bottom, clip.Bottom)};
}

bool HasArea(const Rect64& r) { return r.Left < r.Right && r.Top < r.Bottom; }

TRect To32(const Rect64& r) {
  return {ClampToInt32(r.Left), ClampToInt32(r.Top), ClampToInt32(r.Right), ClampToInt32(r.Bottom)};
}

}  // namespace

std::optional<TLineRun> ClipLine(TPoint from, TPoint to, const TRect& clip) {
  if (from.X != to.X && from.Y != to.Y) throw std::invalid_argument("the canvas draws no slanted lines");
  if (from == to) return std::nullopt;
  const std::int64_t x = from.X, y = from.Y;
  // The covered pixels as a rectangle one pixel thick.
  Rect64 covered{x, y, x + 1, y + 1};
  if (to.X > from.X) covered.Right = to.X;
  if (to.X < from.X) covered.Left = std::int64_t{to.X} + 1;
  if (to.Y > from.Y) covered.Bottom = to.Y;
  if (to.Y < from.Y) covered.Top = std::int64_t{to.Y} + 1;
  const Rect64 c = Intersect(covered, clip);
  if (!HasArea(c)) return std::nullopt;
  if (to.X > from.X) return TLineRun{{ClampToInt32(c.Left), from.Y}, {ClampToInt32(c.Right), from.Y}};
  if (to.X < from.X) return TLineRun{{ClampToInt32(c.Right - 1), from.Y}, {ClampToInt32(c.Left - 1), from.Y}};
  if (to.Y > from.Y) return TLineRun{{from.X, ClampToInt32(c.Top)}, {from.X, ClampToInt32(c.Bottom)}};
  return TLineRun{{from.X, ClampToInt32(c.Bottom - 1)}, {from.X, ClampToInt32(c.Top - 1)}};
}

std::optional<TRect> ClipFill(const TRect& rect, const TRect& clip) {
  const Rect64 c = Intersect({rect.Left, rect.Top, rect.Right, rect.Bottom}, clip);
  if (!HasArea(c)) return std::nullopt;
  return To32(c);
}

std::optional<TCopyArea> ClipCopy(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc,
                                  const TRect& clip) {
  if (Width <= 0 || Height <= 0 || Source.Empty()) return std::nullopt;
  // Destination coordinates of the source picture's corners bound the copy too.
  const std::int64_t dx = std::int64_t{X} - XSrc, dy = std::int64_t{Y} - YSrc;
  Rect64 dest{X, Y, std::int64_t{X} + Width, std::int64_t{Y} + Height};
  dest.Left = std::max(dest.Left, dx);
  dest.Top = std::max(dest.Top, dy);
  dest.Right = std::min(dest.Right, dx + Source.Width());
  dest.Bottom = std::min(dest.Bottom, dy + Source.Height());
  dest = Intersect(dest, clip);
  if (!HasArea(dest)) return std::nullopt;
  return TCopyArea{To32(dest), {ClampToInt32(dest.Left - dx), ClampToInt32(dest.Top - dy)}};
}

bool StretchDraws(int Width, int Height, const TBitmap& Source, int XSrc, int YSrc, int SrcWidth, int SrcHeight) {
  return Width > 0 && Height > 0 && SrcWidth > 0 && SrcHeight > 0 && !Source.Empty() && XSrc >= 0 && YSrc >= 0 &&
         std::int64_t{XSrc} + SrcWidth <= Source.Width() && std::int64_t{YSrc} + SrcHeight <= Source.Height();
}

}  // namespace vexlan
