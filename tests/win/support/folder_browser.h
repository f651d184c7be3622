// Drives the system's folder browser from a helper thread: finds the dialog
// of this process, types and selects a folder, presses OK.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/text/text.h"

namespace tarnwell::testing_support {

// The visible dialog box of this process, waiting up to 30 seconds for it.
HWND FindBrowseDialog();
// The visible child of that class whose text is `text` (any text when empty).
HWND FindChild(HWND dialog, const wchar_t* className, const std::wstring& text);
// An answer that chooses `folder` (GBK) and presses OK.
std::function<void(HWND)> Choose(const Text& folder);

}  // namespace tarnwell::testing_support
