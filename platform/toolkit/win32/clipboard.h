// The clipboard, for the texts the user copies out of Vexlan.
#pragma once

#include <windows.h>

#include <string_view>

namespace vexlan {

// Puts `text` (UTF-8) on the clipboard as Unicode text, replacing what was
// there; `owner` is the window that owns the clipboard afterwards. False when
// the clipboard could not be had (another program holds it open) or the
// memory for the text could not be allocated; the clipboard is then
// unchanged.
bool CopyTextToClipboard(HWND owner, std::string_view text);

// The clipboard's Unicode text as UTF-8; empty when it holds none.
std::string ClipboardText(HWND owner);

}  // namespace vexlan
