// The canvas over a device context: the toolkit's drawing operations done by
// GDI, which follows the pixel rules of graphics.h itself. Every request is
// first cut to the clip box with the shared rules, so GDI sees only
// coordinates near the surface, never ones that could overflow its own
// arithmetic. System colours are the system's current ones.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "platform/toolkit/graphics.h"
#include "platform/toolkit/win32/handles.h"

namespace vexlan {

class TGdiCanvas final : public TCanvas {
 public:
  // Draws on `dc`, which stays the caller's. What the canvas selects into it
  // is put back when the canvas ends; the stretch mode stays COLORONCOLOR
  // once a stretched copy has set it.
  explicit TGdiCanvas(HDC dc);
  ~TGdiCanvas() override;
  TGdiCanvas(const TGdiCanvas&) = delete;
  TGdiCanvas& operator=(const TGdiCanvas&) = delete;

  HDC Handle() const { return dc_; }

  void LineTo(int X, int Y) override;
  void FillRect(const TRect& Rect) override;
  void BitBlt(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc) override;
  void StretchBlt(int X, int Y, int Width, int Height, const TBitmap& Source, int XSrc, int YSrc, int SrcWidth,
                  int SrcHeight) override;
  // The clip box of the device context.
  TRect ClipRect() const override;

 private:
  void UsePenColor(COLORREF color);
  // A memory DC holding `bitmap`'s picture. The last picture made so is
  // kept, for every canvas of the thread, while its stamp stays the same:
  // a window repainting the same wallpaper copies it to GDI once.
  HDC SourceFor(const TBitmap& bitmap);

  HDC dc_;
  UniquePen pen_;
  COLORREF pen_color_ = 0;
  std::optional<ScopedSelection> pen_selection_;  // after pen_: deselects before it is deleted
};

// The pixels of the system colours as they are now.
TSystemColors CurrentSystemColors();

}  // namespace vexlan
