// Helpers for the tests that drive real windows under Wine: waiting while
// the thread's messages run, real mouse and keyboard input, and finding the
// dialogs a thread shows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace tarnwell::testing {

// Runs the thread's messages until `done` holds or the time is up; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, int timeoutMilliseconds = 5000);

// A control's rectangle in its parent's client coordinates.
RECT RectInParent(HWND control);

std::wstring WindowTextOf(HWND window);
std::wstring Wide(std::string_view utf8);

// Real input through the system's queue: moves the pointer to the point
// (client coordinates of `window`) and presses the left button there.
void ClickAt(HWND window, POINT point);
void PressKey(WORD virtualKey);

// The first visible dialog box ("#32770") of the thread, or null when none
// appears in time.
HWND WaitForDialog(DWORD thread, int timeoutMilliseconds = 5000);

}  // namespace tarnwell::testing
