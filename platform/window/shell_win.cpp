#include "platform/window/shell.h"

#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <utility>
#include <vector>

#include "platform/text/gb18030_wide_win.h"
#include "platform/files/long_path_win.h"
#include "platform/base/ole_scope_win.h"

namespace tarnwell {
namespace {

// The path as ShellExecuteW takes it: never the "\\?\" form, and shorter
// than MAX_PATH, through the short 8.3 form when the full one is too long.
// Empty when neither fits.
std::wstring ShellPathOf(std::string_view path) {
  std::wstring full = Win32PathOf(path);
  std::wstring plain = PlainPathOf(full);
  if (plain.size() < MAX_PATH) return plain;
  DWORD needed = GetShortPathNameW(full.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::wstring shortPath(needed, L'\0');
  DWORD length = GetShortPathNameW(full.c_str(), shortPath.data(), needed);
  if (length == 0 || length >= needed) return {};
  shortPath.resize(length);
  shortPath = PlainPathOf(std::move(shortPath));
  return shortPath.size() < MAX_PATH ? shortPath : std::wstring{};
}

bool OpenWithOwner(HWND owner, const wchar_t* verb, std::string_view path) {
  std::wstring wide = ShellPathOf(path);
  if (wide.empty()) return false;
  OleOnThisThread ole;
  ShellExecuteW(owner, verb, wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return true;
}

using WindowStates = std::vector<std::pair<HWND, bool>>;

// Disables every top-level window of this process and tells which were enabled.
WindowStates DisableProcessWindows() {
  WindowStates states;
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) {
          reinterpret_cast<WindowStates*>(param)->emplace_back(window, IsWindowEnabled(window) != 0);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&states));
  for (const auto& [window, enabled] : states) {
    if (enabled) EnableWindow(window, FALSE);
  }
  return states;
}

void RestoreWindows(const WindowStates& states) {
  for (const auto& [window, enabled] : states) {
    if (IsWindow(window)) EnableWindow(window, enabled);
  }
}

Text PathOf(PCIDLIST_ABSOLUTE item) {
  std::wstring path(32768, L'\0');
  if (!SHGetPathFromIDListEx(item, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT)) return {};
  path.resize(wcslen(path.c_str()));
  return WideToGb18030(path);
}

}  // namespace

bool ShellOpen(std::string_view path) { return OpenWithOwner(nullptr, nullptr, path); }

bool OpenWithBrowserOwner(std::string_view path) {
  return OpenWithOwner(FindWindowW(nullptr, L"Microsoft Internet Explorer"), L"open", path);
}

void OpenFolderAndSelect(std::string_view path) {
  OleOnThisThread ole;
  const std::wstring wide = Gb18030ToWide(path);
  PIDLIST_ABSOLUTE item = nullptr;
  if (SUCCEEDED(SHParseDisplayName(wide.c_str(), nullptr, &item, 0, nullptr))) {
    const HRESULT opened = SHOpenFolderAndSelectItems(item, 0, nullptr, 0);
    CoTaskMemFree(item);
    if (SUCCEEDED(opened)) return;
  }
  const std::wstring parameters = L"/select,\"" + wide + L"\"";
  ShellExecuteW(nullptr, L"open", L"explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

Text BrowseForFolder(std::string_view title) {
  HWND owner = GetActiveWindow();
  if (!IsWindow(owner)) owner = nullptr;
  HWND front = GetForegroundWindow();
  WindowStates states = DisableProcessWindows();

  Text path;
  {
    OleOnThisThread ole;
    std::wstring wideTitle = Gb18030ToWide(title);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info)) {
      path = PathOf(chosen);
      CoTaskMemFree(chosen);
    }
  }

  RestoreWindows(states);
  if (front && IsWindow(front)) SetForegroundWindow(front);
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  return path;
}

}  // namespace tarnwell
