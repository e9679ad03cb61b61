#include "platform/toolkit/win32/gdi_canvas.h"

#include <cstring>
#include <memory>
#include <stdexcept>

namespace vexlan {

namespace {

COLORREF ToColorRef(TColor color) {
  if (IsSystemColor(color)) return ::GetSysColor(static_cast<int>(SystemColorIndex(color)));
  return color & 0xFFFFFF;  // 0x00BBGGRR, as COLORREF has it
}

[[noreturn]] void OutOfResources() { throw Exception("Out of system resources"); }

// A bitmap's picture as a top-down 32-bit DIB section, selected into a
// memory DC.
struct SourceSurface {
  std::uint64_t stamp = 0;
  UniqueDC dc;
  UniqueBitmap bitmap;
  std::optional<ScopedSelection> selection;  // last: deselects first
};

// The last picture copied to GDI on this thread.
std::unique_ptr<SourceSurface>& LastSource() {
  thread_local std::unique_ptr<SourceSurface> last;
  return last;
}

}  // namespace

TGdiCanvas::TGdiCanvas(HDC dc) : dc_(dc) {}

TGdiCanvas::~TGdiCanvas() = default;

TRect TGdiCanvas::ClipRect() const {
  RECT box{};
  if (::GetClipBox(dc_, &box) == ERROR) return {};
  return {box.left, box.top, box.right, box.bottom};
}

void TGdiCanvas::UsePenColor(COLORREF color) {
  if (pen_ && pen_color_ == color) return;
  UniquePen pen(::CreatePen(PS_SOLID, 1, color));
  if (!pen) OutOfResources();
  if (pen_selection_) {
    ::SelectObject(dc_, pen.get());
  } else {
    pen_selection_.emplace(dc_, pen.get());
  }
  pen_ = std::move(pen);  // the pen it replaces is no longer selected
  pen_color_ = color;
}

void TGdiCanvas::LineTo(int X, int Y) {
  if (Pen.Width > 1) throw std::invalid_argument("the canvas draws one-pixel pens only");
  const TPoint start = pen_pos_;
  const std::optional<TLineRun> run = ClipLine(start, {X, Y}, ClipRect());
  pen_pos_ = {X, Y};
  if (!run || Pen.Style == psClear) return;
  if (Pen.Style == psDot) {
    // GDI's own dot patterns differ between systems; the dots are ours.
    const COLORREF color = ToColorRef(Pen.Color);
    const int dx = (run->To.X > run->From.X) - (run->To.X < run->From.X);
    const int dy = (run->To.Y > run->From.Y) - (run->To.Y < run->From.Y);
    for (TPoint p = run->From; p != run->To; p.X += dx, p.Y += dy) {
      if (DotPainted(start, p)) ::SetPixelV(dc_, p.X, p.Y, color);
    }
    return;
  }
  UsePenColor(ToColorRef(Pen.Color));
  ::MoveToEx(dc_, run->From.X, run->From.Y, nullptr);
  ::LineTo(dc_, run->To.X, run->To.Y);
}

void TGdiCanvas::FillRect(const TRect& Rect) {
  const std::optional<TRect> area = ClipFill(Rect, ClipRect());
  if (!area || Brush.Style == bsClear) return;
  UniqueBrush brush(::CreateSolidBrush(ToColorRef(Brush.Color)));
  if (!brush) OutOfResources();
  const RECT r{area->Left, area->Top, area->Right, area->Bottom};
  ::FillRect(dc_, &r, brush.get());
}

HDC TGdiCanvas::SourceFor(const TBitmap& bitmap) {
  std::unique_ptr<SourceSurface>& source = LastSource();
  if (source && source->stamp == bitmap.Stamp()) return source->dc.get();
  source.reset();
  auto surface = std::make_unique<SourceSurface>();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bitmap.Width();
  info.bmiHeader.biHeight = -bitmap.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  surface->bitmap.reset(::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  surface->dc.reset(::CreateCompatibleDC(dc_));
  if (!surface->bitmap || !bits || !surface->dc) OutOfResources();
  std::memcpy(bits, bitmap.Pixels().data(), bitmap.Pixels().size_bytes());
  surface->selection.emplace(surface->dc.get(), surface->bitmap.get());
  surface->stamp = bitmap.Stamp();
  source = std::move(surface);
  return source->dc.get();
}

void TGdiCanvas::BitBlt(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc) {
  const std::optional<TCopyArea> copy = ClipCopy(X, Y, Width, Height, Source, XSrc, YSrc, ClipRect());
  if (!copy) return;
  const TRect& d = copy->Dest;
  ::BitBlt(dc_, d.Left, d.Top, d.Right - d.Left, d.Bottom - d.Top, SourceFor(Source), copy->Source.X,
           copy->Source.Y, SRCCOPY);
}

void TGdiCanvas::StretchBlt(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc,
                            int SrcWidth, int SrcHeight) {
  if (!StretchDraws(Width, Height, Source, XSrc, YSrc, SrcWidth, SrcHeight)) return;
  ::SetStretchBltMode(dc_, COLORONCOLOR);
  ::StretchBlt(dc_, X, Y, Width, Height, SourceFor(Source), XSrc, YSrc, SrcWidth, SrcHeight, SRCCOPY);
}

TSystemColors CurrentSystemColors() {
  TSystemColors colors{};
  for (std::size_t i = 0; i < colors.size(); ++i) {
    colors[i] = RGBToPixel(::GetSysColor(static_cast<int>(i)));
  }
  return colors;
}

}  // namespace vexlan
