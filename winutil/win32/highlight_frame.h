// The highlight frame: a red frame just outside a window's rectangle, above
// every other window, that shows the user where that window is on the
// screen (a child that covers most of its parent, a window that is there
// but transparent).
//
// Its four bands (winutil/highlight_frame_bands.h) are top-level windows of
// ours, of class VexlanHighlightFrame: always on top, never activated, never
// given the focus, kept off the taskbar, and transparent to the mouse. Being
// layered and WS_EX_TRANSPARENT, they are left out of the system's hit test
// (Windows and Wine's server alike): WindowFromPoint never returns them, to
// this program or any other, and a click goes to what lies beneath.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "platform/toolkit/win32/timer.h"

namespace vexlan {

inline constexpr wchar_t kHighlightFrameClass[] = L"VexlanHighlightFrame";

class THighlightFrame {
 public:
  // How Flash flashes: so many times within so many milliseconds.
  static constexpr int kFlashes = 3;
  static constexpr int kFlashMs = 1500;
  static constexpr int kBands = 4;

  THighlightFrame();
  // The bands go with it.
  ~THighlightFrame();
  THighlightFrame(const THighlightFrame&) = delete;
  THighlightFrame& operator=(const THighlightFrame&) = delete;

  // Puts the frame around `target` where it stands now and ends any flash.
  // A window that is not on the screen (hidden, minimized or inside a
  // minimized window, without area, off the virtual screen) gets none and
  // the frame goes: false then.
  bool Surround(HWND target);
  // Surround, unless `target` and its rectangle are what the last Surround
  // or Follow was given: the frame moves only when either changed.
  void Follow(HWND target);
  // Flashes the frame around `target` kFlashes times over kFlashMs on a
  // timer, then takes it away; returns at once. False, and nothing shown,
  // when the window is not on the screen.
  bool Flash(HWND target);
  // Takes the frame away and ends any flash.
  void Hide();
  bool Shown() const { return shown_; }
  // The bands that are on the screen now (a band without area is not),
  // into `out`, the rest of it nullptr; how many.
  int ShownBands(std::array<HWND, kBands>& out) const;
  // Puts the shown bands back above every other window, where they are.
  void Raise();

 private:
  class Band;
  // Moves the bands around `target` and shows them; false, leaving them
  // as they are, when the window is not on the screen. Either way `target`
  // and its rectangle are remembered for Follow.
  bool Place(HWND target);
  void HideBands();
  void FlashTick();

  std::array<std::unique_ptr<Band>, kBands> bands_;
  TTimer flash_timer_{nullptr};
  int flash_phase_ = 0;  // flash ticks so far: the frame shows after even ones
  HWND target_ = nullptr;
  RECT rect_{};
  bool shown_ = false;
};

}  // namespace vexlan
