// Saving text the user asked for: the system's Save As dialog and the
// writing of the file.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vexlan {

// The path the user chose in the system's Save As dialog, modal on `owner`,
// or nothing when the user cancelled. `name` is the file name offered,
// `kind` names the one type of file ("Text files"), `extension` is what a
// name typed without one gets ("txt"). A file chosen that exists already is
// confirmed by the dialog before it returns.
std::optional<std::string> AskSaveFileName(HWND owner, std::string_view name, std::string_view kind,
                                           std::string_view extension);

// Answers for the user instead of the dialog (tests): given the name
// offered. An empty hook restores the dialog.
using SaveFileNameHook = std::function<std::optional<std::string>(std::string_view name)>;
SaveFileNameHook SetSaveFileNameHook(SaveFileNameHook hook);

// Writes `text` (UTF-8, as it is) to the file at `path`, replacing it.
// Returns 0, or the system's error number.
DWORD WriteTextFile(std::string_view path, std::string_view text);

}  // namespace vexlan
