#include "tests/support/canvas_test_support.h"

namespace vexlan::testing {

TSystemColors FakeSystemColors() {
  TSystemColors colors{};
  for (std::size_t i = 0; i < colors.size(); ++i) colors[i] = 0x00100000 + static_cast<TPixel>(i);
  return colors;
}

TMemoryCanvas FakeCanvas(int width, int height) { return TMemoryCanvas(width, height, FakeSystemColors(), kUntouched); }

std::vector<std::string> Picture(const TMemoryCanvas& canvas) {
  const struct {
    TPixel pixel;
    char letter;
  } legend[] = {{canvas.Resolve(clBtnFace), 'F'},    {canvas.Resolve(clBtnShadow), 'S'},
                {canvas.Resolve(clBtnHighlight), 'H'}, {canvas.Resolve(cl3DDkShadow), 'D'},
                {canvas.Resolve(cl3DLight), 'L'},      {canvas.Resolve(kBackColor), 'b'},
                {kUntouched, '.'}};
  std::vector<std::string> rows;
  for (int y = 0; y < canvas.Height(); ++y) {
    std::string row;
    for (int x = 0; x < canvas.Width(); ++x) {
      char letter = '?';
      for (const auto& entry : legend) {
        if (entry.pixel == canvas.Pixel(x, y)) letter = entry.letter;
      }
      row += letter;
    }
    rows.push_back(row);
  }
  return rows;
}

bool ShowsBitmapCorner(TPixel pixel, const TRect& rect, int width, int height) {
  const int x = (pixel >> 8) & 0xFF, y = pixel & 0xFF;
  const int span_x = (width + (rect.Right - rect.Left) - 1) / (rect.Right - rect.Left);
  const int span_y = (height + (rect.Bottom - rect.Top) - 1) / (rect.Bottom - rect.Top);
  return (pixel & 0xFF0000) == 0xC00000 && x < width && y < height && x >= width - span_x && y >= height - span_y;
}

void FillWithPositions(TBitmap& bitmap, int width, int height) {
  bitmap.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, PositionPixel(x, y));
  }
}

int TRecordingCanvas::Count(const std::string& name) const {
  int n = 0;
  for (const std::string& call : Calls) n += call.rfind(name, 0) == 0;
  return n;
}

void TRecordingCanvas::Log(const std::string& name, std::initializer_list<long long> args) {
  std::string call = name;
  for (long long a : args) call += " " + std::to_string(a);
  Calls.push_back(call);
  target_.Pen = Pen;
  target_.Brush = Brush;
}

void TRecordingCanvas::MoveTo(int X, int Y) {
  TCanvas::MoveTo(X, Y);
  target_.MoveTo(X, Y);
}

void TRecordingCanvas::LineTo(int X, int Y) {
  Log("LineTo", {X, Y});
  target_.LineTo(X, Y);
  pen_pos_ = target_.PenPos();
}

void TRecordingCanvas::FillRect(const TRect& Rect) {
  Log("FillRect", {Rect.Left, Rect.Top, Rect.Right, Rect.Bottom});
  target_.FillRect(Rect);
}

void TRecordingCanvas::BitBlt(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc) {
  Log("BitBlt", {X, Y, Width, Height, XSrc, YSrc});
  target_.BitBlt(X, Y, Width, Height, Source, XSrc, YSrc);
}

void TRecordingCanvas::StretchBlt(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc,
                                  int SrcWidth, int SrcHeight) {
  Log("StretchBlt", {X, Y, Width, Height, XSrc, YSrc, SrcWidth, SrcHeight});
  target_.StretchBlt(X, Y, Width, Height, Source, XSrc, YSrc, SrcWidth, SrcHeight);
}

}  // namespace vexlan::testing
