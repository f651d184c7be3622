// Appending to an edit box without replacing its content.
#pragma once

#include <windows.h>

#include "platform/text.h"

namespace tarnwell {

// Puts the caret at the end of the box's text, scrolls it into view and
// inserts the text there, unchanged (line breaks included). The insertion
// cannot be undone by the user's undo command.
void AppendEditText(HWND edit, const Text& text);

}  // namespace tarnwell
