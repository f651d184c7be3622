// Edit box operations beyond reading and setting its text: appending,
// replacing the whole text as one step the user can undo, and where a menu
// that a key opens goes.
#pragma once

#include <windows.h>

#include "platform/text/text.h"

namespace tarnwell {

// Puts the caret at the end of the box's text, scrolls it into view and
// inserts the text there, unchanged (line breaks included). The insertion
// cannot be undone by the user's undo command.
void AppendEditText(HWND edit, const Text& text);

// Replaces the box's whole text by `text` as one edit that the box's undo
// (Ctrl+Z, 撤销) takes back whole.
void ReplaceEditTextUndoably(HWND edit, const Text& text);

// Whether the box's selection holds at least one character.
bool EditHasSelection(HWND edit);

// Whether the selection is all of a text that is not empty.
bool EditSelectsAll(HWND edit);

// The screen point below the caret of a box that has the focus, for a menu
// opened with a key; the box's top left corner otherwise.
POINT EditKeyboardMenuPoint(HWND edit);

}  // namespace tarnwell
