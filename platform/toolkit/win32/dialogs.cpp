#include "platform/toolkit/win32/dialogs.h"

#include <windows.h>

#include <optional>
#include <utility>
#include <stdexcept>

#include "platform/utf.h"

namespace vexlan {

namespace {

ShowMessageHook& Hook() {
  static ShowMessageHook hook;
  return hook;
}

std::optional<std::string>& Title() {
  static std::optional<std::string> title;
  return title;
}

void Box(const std::string& text, UINT icon) {
  if (const ShowMessageHook& hook = Hook()) {
    hook(text);
    return;
  }
  const std::u16string wide_text = Utf8ToUtf16(text);
  const std::u16string wide_title = Utf8ToUtf16(ApplicationTitle());
  ::MessageBoxW(::GetActiveWindow(), reinterpret_cast<const wchar_t*>(wide_text.c_str()),
                reinterpret_cast<const wchar_t*>(wide_title.c_str()), MB_OK | icon);
}

}  // namespace

void ShowMessage(const std::string& text) { Box(text, 0); }

ShowMessageHook SetShowMessageHook(ShowMessageHook hook) { return std::exchange(Hook(), std::move(hook)); }

void ShowException(std::exception_ptr error) noexcept {
  try {
    std::string text = "An unknown error occurred.";
    try {
      if (error) std::rethrow_exception(error);
    } catch (const std::exception& e) {
      text = e.what();
    } catch (...) {
    }
    Box(text, MB_ICONERROR);
  } catch (...) {
    // Nothing is left to report with; the program goes on.
  }
}

std::string ApplicationTitle() {
  // The program's name, whatever its file is called.
  if (!Title()) Title() = "Vexlan";
  return *Title();
}

void SetApplicationTitle(const std::string& title) { Title() = title; }

}  // namespace vexlan
