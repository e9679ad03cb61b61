#include "platform/toolkit/win32/file_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/utf.h"

namespace vexlan {

namespace {

SaveFileNameHook& Hook() {
  static SaveFileNameHook hook;
  return hook;
}

std::wstring Wide(std::string_view text) {
  const std::u16string wide = Utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

}  // namespace

SaveFileNameHook SetSaveFileNameHook(SaveFileNameHook hook) { return std::exchange(Hook(), std::move(hook)); }

std::optional<std::string> AskSaveFileName(HWND owner, std::string_view name, std::string_view kind,
                                           std::string_view extension) {
  if (Hook()) return Hook()(name);
  // Long enough for any path the system takes.
  std::vector<wchar_t> path(32768, L'\0');
  const std::wstring offered = Wide(name).substr(0, path.size() - 1);
  std::copy(offered.begin(), offered.end(), path.begin());
  const std::wstring ext = Wide(extension);
  // "Text files (*.txt)\0*.txt\0All files\0*.*\0\0"
  std::wstring filter = Wide(kind) + L" (*." + ext + L")" + L'\0' + L"*." + ext + L'\0' + L"All files" + L'\0' +
                        L"*.*" + L'\0';
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrDefExt = ext.c_str();
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!::GetSaveFileNameW(&dialog)) return std::nullopt;
  return Utf16ToUtf8(reinterpret_cast<const char16_t*>(path.data()));
}

DWORD WriteTextFile(std::string_view path, std::string_view text) {
  const HANDLE file =
      ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ::GetLastError();
  DWORD error = 0;
  for (std::size_t at = 0; at < text.size() && !error;) {
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - at, 1 << 20));
    DWORD written = 0;
    if (!::WriteFile(file, text.data() + at, chunk, &written, nullptr) || written == 0) error = ::GetLastError();
    at += written;
  }
  if (!::CloseHandle(file) && !error) error = ::GetLastError();
  return error ? error : 0;
}

}  // namespace vexlan
