// The properties the program reads and writes on its controls. Every call
// belongs on the thread that owns the control; texts are GBK and cross to the
// wide Win32 functions here.
#pragma once

#include <windows.h>

#include "platform/text/text.h"

namespace tarnwell {

// Edit box: the whole text (lines of a multi-line box separated by "\r\n").
Text GetContent(HWND edit);
void SetContent(HWND edit, const Text& content);

// Label: the text shown; writing repaints it.
Text GetCaption(HWND label);
void SetCaption(HWND label, const Text& caption);

// Radio button: its own mark only; the other button of its group is not touched.
bool GetChecked(HWND button);
void SetChecked(HWND button, bool checked);

// Any control: its own visible flag (not whether its parent is shown).
bool GetVisible(HWND control);
void SetVisible(HWND control, bool visible);

bool GetDisabled(HWND control);
void SetDisabled(HWND control, bool disabled);

// List view: the lowest selected row index, or -1 when no row is selected.
int GetSelectedRow(HWND list);

}  // namespace tarnwell
