#include "platform/toolkit/win32/clipboard.h"

#include <cstring>
#include <string>

#include "platform/utf.h"

namespace vexlan {

namespace {

// Open for the scope; another program may hold the clipboard for a moment.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) {
    for (int attempt = 0; attempt < 5 && !open_; ++attempt) {
      open_ = ::OpenClipboard(owner) != FALSE;
      if (!open_) ::Sleep(10);
    }
  }
  ~OpenClipboardScope() {
    if (open_) ::CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace

bool CopyTextToClipboard(HWND owner, std::string_view text) {
  const std::u16string wide = Utf8ToUtf16(text);
  const std::size_t bytes = (wide.size() + 1) * sizeof(char16_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  if (void* target = ::GlobalLock(memory)) {
    std::memcpy(target, wide.c_str(), bytes);
    ::GlobalUnlock(memory);
  } else {
    ::GlobalFree(memory);
    return false;
  }
  const OpenClipboardScope clipboard(owner);
  // Once the clipboard holds the memory it is the system's to free.
  if (!clipboard || !::EmptyClipboard() || !::SetClipboardData(CF_UNICODETEXT, memory)) {
    ::GlobalFree(memory);
    return false;
  }
  return true;
}

std::string ClipboardText(HWND owner) {
  const OpenClipboardScope clipboard(owner);
  if (!clipboard) return {};
  HANDLE memory = ::GetClipboardData(CF_UNICODETEXT);
  if (!memory) return {};
  const auto* text = static_cast<const char16_t*>(::GlobalLock(memory));
  if (!text) return {};
  // Bounded by the block's size: another program's data need not end in a zero.
  const std::size_t units = ::GlobalSize(memory) / sizeof(char16_t);
  std::size_t n = 0;
  while (n < units && text[n] != u'\0') ++n;
  std::string result = Utf16ToUtf8(std::u16string_view(text, n));
  ::GlobalUnlock(memory);
  return result;
}

}  // namespace vexlan
