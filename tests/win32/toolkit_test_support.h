// Helpers the toolkit's Wine tests share: pumping the loop until something
// happens, real key presses and mouse clicks, naming focused controls, and
// surfaces to paint on and read.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/toolkit/graphics.h"
#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/controls.h"
#include "platform/toolkit/win32/handles.h"

namespace vexlan::testing {

// Handles messages through `app`, as its loop does, until `done` holds or
// `timeout_ms` have passed; returns whether `done` holds.
inline bool PumpUntil(TApplication& app, const std::function<bool()>& done, int timeout_ms = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    app.ProcessMessages();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

// Lets whatever is queued now be handled (paint, focus changes).
inline void Settle(TApplication& app, int ms = 200) {
  PumpUntil(app, [] { return false; }, ms);
}

inline INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

// A real key press (through the system's input queue), with modifiers held.
inline void PressKey(WORD vk, std::vector<WORD> modifiers = {}) {
  std::vector<INPUT> inputs;
  for (WORD m : modifiers) inputs.push_back(Key(m, false));
  inputs.push_back(Key(vk, false));
  inputs.push_back(Key(vk, true));
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) inputs.push_back(Key(*it, true));
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A real click at a screen point, of the left button or (with the right's
// flags) the right.
inline void ClickAt(POINT at, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) {
  ::SetCursorPos(at.x, at.y);
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = down;
  in[1].mi.dwFlags = up;
  ::SendInput(2, in, sizeof(INPUT));
}
inline void RightClickAt(POINT at) { ClickAt(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }

// The component name of our control with the focus, for messages.
inline std::string FocusName() {
  const HWND focus = ::GetFocus();
  if (!focus) return "(nothing)";
  const TWinControl* c = TWinControl::FromWindow(focus);
  return c ? c->Name() : "(a window that is not ours)";
}

// A window's rectangle in the client coordinates of another.
inline RECT RectIn(HWND window, HWND reference) {
  RECT r{};
  ::GetWindowRect(window, &r);
  ::MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

inline std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[512] = {};
  ::GetWindowTextW(hwnd, buffer, 512);
  return buffer;
}

inline std::wstring WindowClass(HWND hwnd) {
  wchar_t buffer[256] = {};
  ::GetClassNameW(hwnd, buffer, 256);
  return buffer;
}

struct ClassSearch {
  const wchar_t* window_class;
  HWND found;
};

// Callbacks of the system are CALLBACK functions, not lambdas: 32-bit Windows
// calls them with the stdcall convention.
inline BOOL CALLBACK MatchVisibleClass(HWND hwnd, LPARAM lparam) {
  auto* s = reinterpret_cast<ClassSearch*>(lparam);
  if (::IsWindowVisible(hwnd) && WindowClass(hwnd) == s->window_class) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The visible window of `window_class` that belongs to thread `thread`, or nullptr.
inline HWND FindThreadWindow(DWORD thread, const wchar_t* window_class) {
  ClassSearch search{window_class, nullptr};
  ::EnumThreadWindows(thread, &MatchVisibleClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// How many highlight-frame bands are visible, and the rectangle they cover.
inline int ShownHighlightFrame(RECT* covered = nullptr) {
  int bands = 0;
  RECT all{};
  for (HWND h = nullptr; (h = ::FindWindowExW(nullptr, h, L"VexlanHighlightFrame", nullptr)) != nullptr;) {
    RECT r{};
    if (::IsWindowVisible(h) && ::GetWindowRect(h, &r) && ::UnionRect(&all, &all, &r)) ++bands;
  }
  if (covered) *covered = all;
  return bands;
}

// What another thread saw of the program while `call` ran on this thread:
// how many of its messages were answered (each may wait 15 s) and how long
// the call took.
struct Responsiveness {
  int answered = 0;
  int unanswered = 0;
  std::chrono::milliseconds took{0};
};

// Runs `call` on this (the user interface) thread while a second thread
// keeps sending WM_NULL to `hwnd`, one of this thread's windows.
inline Responsiveness WhileAnswering(TApplication& app, HWND hwnd, const std::function<void()>& call) {
  Responsiveness seen;
  std::atomic<bool> calling{true}, finished{false};
  std::atomic<int> answered{0}, unanswered{0};
  std::thread other([&] {
    while (calling) {
      DWORD_PTR result = 0;
      if (::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &result)) {  // thrice the ceiling
        ++answered;
      } else {
        ++unanswered;
      }
      ::Sleep(50);
    }
    finished = true;
  });
  const auto start = std::chrono::steady_clock::now();
  call();
  seen.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  calling = false;
  PumpUntil(app, [&] { return finished.load(); });  // its last message may still wait for an answer
  other.join();
  seen.answered = answered;
  seen.unanswered = unanswered;
  return seen;
}

// A memory DC over a 32-bit top-down DIB section, every pixel `fill` at first.
class MemorySurface {
 public:
  MemorySurface(int width, int height, TPixel fill) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<TPixel*>(bits);
    selection_.emplace(dc_.get(), bitmap_.get());
    std::fill(bits_, bits_ + width * height, fill);
  }
  HDC dc() const { return dc_.get(); }
  TPixel Pixel(int x, int y) const {
    ::GdiFlush();
    return bits_[y * width_ + x] & 0xFFFFFF;
  }
  // How many pixels are not `value`.
  int CountOtherThan(TPixel value) const {
    ::GdiFlush();
    const auto other = [&](TPixel p) { return (p & 0xFFFFFF) != value; };
    return static_cast<int>(std::count_if(bits_, bits_ + width_ * height_, other));
  }

 private:
  int width_, height_;
  UniqueDC dc_{::CreateCompatibleDC(nullptr)};
  UniqueBitmap bitmap_;
  std::optional<ScopedSelection> selection_;
  TPixel* bits_ = nullptr;
};

// Reads the real message boxes a thread shows, as a user would: on a thread
// of its own it finds each box (dialog class #32770), takes its text and
// presses OK, until it is stopped. The thread showing the boxes must keep
// running its loop (a box is modal: it does).
class MessageBoxReader {
 public:
  explicit MessageBoxReader(DWORD gui_thread = ::GetCurrentThreadId())
      : watcher_([this, gui_thread] {
          HWND last = nullptr;
          while (!stop_) {
            const HWND box = FindThreadWindow(gui_thread, L"#32770");
            if (box && box != last) {
              last = box;
              const std::wstring text = WindowText(::GetDlgItem(box, 0xFFFF));
              {
                const std::lock_guard lock(lock_);
                texts_.push_back(text);
              }
              ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            }
            ::Sleep(30);
          }
        }) {}
  ~MessageBoxReader() { Stop(); }
  MessageBoxReader(const MessageBoxReader&) = delete;
  MessageBoxReader& operator=(const MessageBoxReader&) = delete;

  // The texts of the boxes read so far, in the order they appeared.
  std::vector<std::wstring> Texts() {
    const std::lock_guard lock(lock_);
    return texts_;
  }
  void Stop() {
    stop_ = true;
    if (watcher_.joinable()) watcher_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::mutex lock_;
  std::vector<std::wstring> texts_;
  std::thread watcher_;
};

}  // namespace vexlan::testing
