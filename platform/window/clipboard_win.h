// The clipboard: putting text on it for other programs to paste.
#pragma once

#include <windows.h>

#include <string_view>

namespace tarnwell {

// Empties the clipboard and puts the text on it as Unicode text
// (CF_UNICODETEXT); `owner` is the window that owns the clipboard then.
// False when the clipboard could not be opened or the memory not had.
bool PutClipboardText(HWND owner, std::wstring_view text);

}  // namespace tarnwell
