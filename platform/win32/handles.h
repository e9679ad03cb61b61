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

using UniqueFont = UniqueHandle<HFONT, DeleteFontObject>;
using UniqueMenu = UniqueHandle<HMENU, ::DestroyMenu>;
using UniqueKernelHandle = UniqueHandle<HANDLE, ::CloseHandle>;

}  // namespace vexlan
