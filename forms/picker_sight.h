// What keeps the Find Element picker and the window it points at in sight:
// while the picker is shown it and the highlight frame stand above every
// other window, so the program pointed at, or one the user activates, never
// covers them; the frame surrounds the window the picker shows, and follows
// it while the picker is frozen. The picker's handlers call it; it keeps no
// state of the picker's.
#pragma once

#include <windows.h>

#include "platform/toolkit/win32/timer.h"
#include "platform/window_services.h"
#include "winutil/win32/highlight_frame.h"

namespace vexlan {

class TPickerSight {
 public:
  // How often the sight is kept while the picker is frozen (its own timer
  // is stopped then): as often as the picker ticks.
  static constexpr unsigned kFrozenTickMs = 100;

  TPickerSight();

  // The picker is being shown: it goes above every other window.
  void Opened(HWND picker);
  // At every tick: when another program's window has become the
  // foreground, or any visible window of another program has come above
  // the picker or the frame's shown bands in the Z order, they are put back
  // above everything, without taking the activation. One look at the
  // foreground and a few down the top of the Z order when nothing changed.
  void Keep();
  // Another program has been activated (the picker's WM_ACTIVATEAPP): the
  // next Keep puts the picker and the frame back on top, even when that
  // program had the foreground at the last tick already.
  void Left() { left_ = true; }
  // A tick found `under` at the cursor: the frame goes around it (moved only
  // when that window or its rectangle changed).
  void Pointed(WindowHandle under);
  // Frozen, the picker's timer stops: the sight keeps ticking on its own,
  // the frame following its window's moves and resizes and going when the
  // window closes or hides.
  void SetFrozen(bool frozen);
  // The picker closes: the frame goes, and the picker stands among the other
  // windows again.
  void Closed(HWND picker);
  // True when no visible window of another process stands above the picker
  // or a shown band of the frame in the system's Z order.
  bool InSight() const;

 private:
  static bool Ours(HWND wnd);

  HWND picker_ = nullptr;
  HWND target_ = nullptr;
  HWND foreground_ = nullptr;  // at the last tick
  bool left_ = false;
  THighlightFrame frame_;
  TTimer frozen_timer_{nullptr};
};

}  // namespace vexlan
