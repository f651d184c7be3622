// Helpers for the tests that drive real windows under Wine: waiting while
// the thread's messages run, mouse and keyboard input, and finding the
// dialogs a thread shows.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
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
// (client coordinates of `window`) and clicks the left button there. The
// window must be in front: input goes to whatever window is under the pointer.
void ClickAt(HWND window, POINT point);

// Mouse and keyboard messages as the input system delivers them, posted to
// the window itself, so that no other window on the display can take them:
// a left click at a point of the window's client area, and a key press to
// the window (which should have the focus).
void PostClick(HWND window, POINT point);
void PostKey(HWND window, WORD virtualKey);
// The same while the modifier keys given (VK_CONTROL, VK_SHIFT) count as held
// down for this thread; runs the thread's messages until the key has been
// handled, then lets the modifiers go.
void PostKeyHolding(HWND window, WORD virtualKey, std::initializer_list<BYTE> held);

// The Unicode text on the clipboard; empty when it holds none.
std::wstring ClipboardText();
// Puts a text on the clipboard, so that a test sees whether it is replaced.
void SetClipboardTextForTest(const std::wstring& text);

// tarnwell.exe as built beside the tests: <build>/ui/ next to <build>/tests/.
std::wstring BuiltProgramPath();
// The main window ("Tarnwell") of that process, or null.
HWND FindMainWindowOf(DWORD process);

// A visible top-level window of the thread with this window class, or null.
HWND FindVisibleWindowOfClass(DWORD thread, const wchar_t* className);
// The first visible dialog box ("#32770") of the thread, or null when none
// appears in time.
HWND WaitForDialog(DWORD thread, int timeoutMilliseconds = 5000);

}  // namespace tarnwell::testing
