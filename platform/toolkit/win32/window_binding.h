// The one binding between a window and the C++ object that handles its
// messages.
//
// Windows of our own classes are created with the object in CreateWindowEx's
// lpParam and bound from WM_NCCREATE; the object sits in GWLP_USERDATA.
// Standard controls are created first and then subclassed: our procedure
// goes into GWLP_WNDPROC and default processing calls the one it replaced
// (CallWindowProc), so a subclass another module installs before ours, or
// after (by either way, GWLP_WNDPROC or comctl32's SetWindowSubclass), stays
// in place and our control stays ours. The object of a subclassed control
// is found in a table of this process, keyed by window: no window property
// is read per message (comctl32's SetWindowSubclass reads one per message,
// and under Wine every property read is a round trip to the server). Either
// way the binding is undone at WM_NCDESTROY. The window procedures are
// noexcept: an exception from a handler is reported by the application's
// error handler and the message gets default processing.
#pragma once

#include <windows.h>

#include <string>

#include "platform/toolkit/win32/handles.h"

namespace vexlan {

class WindowReceiver {
 public:
  WindowReceiver() = default;
  WindowReceiver(const WindowReceiver&) = delete;
  WindowReceiver& operator=(const WindowReceiver&) = delete;

  // The bound window, or nullptr before creation and after destruction.
  HWND BoundWindow() const { return hwnd_; }

  // The object bound to `hwnd`, or nullptr when the window is not one of
  // ours (any handle is safe to pass: only the windows this process binds
  // are in its table).
  static WindowReceiver* FromWindow(HWND hwnd);

 protected:
  // Destroys the bound window, if any; the object stops receiving at once.
  virtual ~WindowReceiver();

  // One message for the bound window. May throw.
  virtual LRESULT ReceiveMessage(UINT msg, WPARAM wparam, LPARAM lparam) = 0;
  // The bound window has gone; the object may be created again.
  virtual void WindowDestroyed() {}
  // What the window does with a message nobody handles: the rest of the
  // control's subclass chain, down to its own procedure, for a standard
  // control; DefWindowProcW otherwise. Called while the window's message is
  // being handled.
  LRESULT DefaultWindowProc(UINT msg, WPARAM wparam, LPARAM lparam);

  // Creates a window of `window_class`, registering the class on first use
  // (arrow cursor, the given class style and background), bound to this
  // object.
  void CreateBoundWindow(const std::wstring& window_class, UINT class_style, HBRUSH background, DWORD ex_style,
                         DWORD style, const RECT& place, HWND parent, UINT_PTR id, const std::wstring& text);
  // Creates a standard control of `window_class` and subclasses it.
  void CreateSubclassedWindow(const std::wstring& window_class, DWORD ex_style, DWORD style, const RECT& place,
                              HWND parent, UINT_PTR id, const std::wstring& text);
  // Destroys the bound window now (WindowDestroyed runs before this returns).
  void DestroyBoundWindow();

 private:
  static LRESULT CALLBACK ClassProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) noexcept;
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) noexcept;
  static LRESULT Deliver(WindowReceiver* self, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) noexcept;
  void Unbind();

  HWND hwnd_ = nullptr;
  // The procedure our subclass replaced; nullptr for our own classes.
  WNDPROC replaced_ = nullptr;
};

// The program's own icon, icon group 1 of the executable (app/vexlan.rc),
// `size` pixels square, from the group's image of that size where it has one;
// empty for an executable that carries none. Every window class of ours shows
// it at the system's sizes.
UniqueIcon LoadProgramIcon(HINSTANCE instance, int size);

}  // namespace vexlan
