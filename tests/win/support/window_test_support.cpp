#include "tests/win/support/window_test_support.h"

#include <algorithm>

#include "platform/window/event_pump_win.h"

namespace tarnwell::testing {

bool PumpUntil(const std::function<bool()>& done, int timeoutMilliseconds) {
  ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMilliseconds);
  while (!done()) {
    if (GetTickCount64() >= deadline) return false;
    ProcessPendingEvents();
    MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  return true;
}

RECT RectInParent(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::wstring WindowTextOf(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

std::wstring Wide(std::string_view utf8) {
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

void ClickAt(HWND window, POINT point) {
  ClientToScreen(window, &point);
  SetCursorPos(point.x, point.y);
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void PostClick(HWND window, POINT point) {
  LPARAM where = MAKELPARAM(point.x, point.y);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageW(window, WM_LBUTTONUP, 0, where);
}

void PostKey(HWND window, WORD virtualKey) {
  LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(window, WM_KEYDOWN, virtualKey, scan | 1);
  PostMessageW(window, WM_KEYUP, virtualKey, scan | 1 | (LPARAM{3} << 30));
}

void PostKeyHolding(HWND window, WORD virtualKey, std::initializer_list<BYTE> held) {
  BYTE before[256]{};
  GetKeyboardState(before);
  BYTE holding[256];
  std::copy(std::begin(before), std::end(before), holding);
  for (BYTE key : held) holding[key] |= 0x80;
  SetKeyboardState(holding);
  PostKey(window, virtualKey);
  // Both messages are gone from the queue once the key was handled.
  MSG waiting;
  PumpUntil([&] { return !PeekMessageW(&waiting, window, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE); }, 2000);
  SetKeyboardState(before);
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void SetClipboardTextForTest(const std::wstring& text) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  auto* target = static_cast<wchar_t*>(GlobalLock(memory));
  std::copy(text.c_str(), text.c_str() + text.size() + 1, target);
  GlobalUnlock(memory);
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

std::wstring BuiltProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  path.resize(path.find_last_of(L'\\'));
  path.resize(path.find_last_of(L'\\'));
  return path + L"\\ui\\tarnwell.exe";
}

HWND FindMainWindowOf(DWORD process) {
  struct Found {
    DWORD process;
    HWND window;
  } found{process, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* sought = reinterpret_cast<Found*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != sought->process || !IsWindowVisible(window) || WindowTextOf(window) != L"Tarnwell") return TRUE;
        sought->window = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.window;
}

HWND FindVisibleWindowOfClass(DWORD thread, const wchar_t* className) {
  struct Sought {
    const wchar_t* className;
    HWND window;
  } sought{className, nullptr};
  EnumThreadWindows(
      thread,
      [](HWND window, LPARAM data) -> BOOL {
        auto* wanted = reinterpret_cast<Sought*>(data);
        wchar_t name[16]{};
        GetClassNameW(window, name, 16);
        if (lstrcmpW(name, wanted->className) != 0 || !IsWindowVisible(window)) return TRUE;
        wanted->window = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&sought));
  return sought.window;
}

HWND WaitForDialog(DWORD thread, int timeoutMilliseconds) {
  ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMilliseconds);
  for (;;) {
    HWND found = FindVisibleWindowOfClass(thread, L"#32770");
    if (found || GetTickCount64() >= deadline) return found;
    Sleep(10);
  }
}

}  // namespace tarnwell::testing
