// Owning wrappers for the platform handles the toolkit creates: one owner,
// freed once, movable, never copied.
#pragma once

#include <windows.h>

#include <utility>

namespace vexlan {

template <class Handle, BOOL(WINAPI* Free)(Handle)>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  Handle release() { return std::exchange(h_, nullptr); }
  void reset(Handle h = nullptr) {
    if (h_) Free(h_);
    h_ = h;
  }

 private:
  Handle h_ = nullptr;
};

inline BOOL WINAPI DeleteFontObject(HFONT font) { return ::DeleteObject(font); }
inline BOOL WINAPI DeletePenObject(HPEN pen) { return ::DeleteObject(pen); }
inline BOOL WINAPI DeleteBrushObject(HBRUSH brush) { return ::DeleteObject(brush); }
inline BOOL WINAPI DeleteBitmapObject(HBITMAP bitmap) { return ::DeleteObject(bitmap); }

using UniqueFont = UniqueHandle<HFONT, DeleteFontObject>;
using UniquePen = UniqueHandle<HPEN, DeletePenObject>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteBrushObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteBitmapObject>;
using UniqueDC = UniqueHandle<HDC, ::DeleteDC>;
using UniqueMenu = UniqueHandle<HMENU, ::DestroyMenu>;
using UniqueIcon = UniqueHandle<HICON, ::DestroyIcon>;
using UniqueKernelHandle = UniqueHandle<HANDLE, ::CloseHandle>;

// Keeps `object` selected into `dc` and puts back, at its end, what was
// selected before. An object must be deselected before it is deleted, so a
// guard is declared after the handle it selects. Objects selected into the
// same DC later, while the guard lives, are the selector's to manage.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~ScopedSelection() {
    if (previous_) ::SelectObject(dc_, previous_);
  }
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace vexlan
