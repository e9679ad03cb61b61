// What drawing tests share: a system-colour table with a distinct pixel for
// every index, pictures of a memory canvas as one letter per pixel, bitmaps
// whose pixels name their own position, and a canvas that logs the calls it
// passes on.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/toolkit/graphics.h"
#include "platform/toolkit/memory_canvas.h"

namespace vexlan::testing {

// System colour i is the pixel 0x00100000 + i.
TSystemColors FakeSystemColors();

// A canvas pixel nothing has drawn on, and a plain colour for backgrounds.
inline constexpr TPixel kUntouched = 0x00FEDCBA;
inline constexpr TColor kBackColor = 0x00456789;

// A memory canvas of that size over kUntouched with FakeSystemColors.
TMemoryCanvas FakeCanvas(int width, int height);

// One string per row: F clBtnFace, S clBtnShadow, H clBtnHighlight,
// D cl3DDkShadow, L cl3DLight, b kBackColor, . untouched, ? anything else.
std::vector<std::string> Picture(const TMemoryCanvas& canvas);

// The pixel a position bitmap holds at (x, y), x and y below 256.
constexpr TPixel PositionPixel(int x, int y) {
  return 0x00C00000 | static_cast<TPixel>(x) << 8 | static_cast<TPixel>(y);
}
// Whether `pixel`, the bottom-right pixel of a width by height position
// bitmap stretched onto `rect`, comes from the bitmap's bottom-right corner:
// exactly when enlarged, within the rows and columns one destination pixel
// spans when shrunk (which of them is the canvas's choice).
bool ShowsBitmapCorner(TPixel pixel, const TRect& rect, int width, int height);
// Gives `bitmap` a width by height picture of position pixels.
void FillWithPositions(TBitmap& bitmap, int width, int height);

// How many times `decoration` calls its OnChange, always with itself as
// sender, while `act` runs.
template <class Decoration, class Act>
int Notifications(Decoration& decoration, Act act) {
  int calls = 0;
  decoration.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &decoration);
    ++calls;
  };
  act();
  decoration.OnChange = nullptr;
  return calls;
}

// Passes every call on to `target` with this canvas's pen and brush, and
// logs each drawing call ("LineTo 3 4", "FillRect 0 0 5 5", "BitBlt ...").
class TRecordingCanvas : public TCanvas {
 public:
  explicit TRecordingCanvas(TCanvas& target) : target_(target) {}
  std::vector<std::string> Calls;
  // How many logged calls start with `name`.
  int Count(const std::string& name) const;

  void MoveTo(int X, int Y) override;
  void LineTo(int X, int Y) override;
  void FillRect(const TRect& Rect) override;
  void BitBlt(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc) override;
  void StretchBlt(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc, int SrcWidth,
                  int SrcHeight) override;
  TRect ClipRect() const override { return target_.ClipRect(); }

 private:
  void Log(const std::string& name, std::initializer_list<long long> args);
  TCanvas& target_;
};

}  // namespace vexlan::testing
