#include "platform/files/long_path_win.h"

#include <windows.h>

#include "platform/text/gb18030_wide_win.h"

namespace tarnwell {
namespace {

// Below this length every Win32 file function takes the plain path (folders
// must leave room for an 8.3 name, hence the margin under MAX_PATH).
constexpr std::size_t kPlainPathLimit = MAX_PATH - 12;

}  // namespace

std::wstring Win32PathOf(std::string_view path) {
  std::wstring wide = Gb18030ToWide(path);
  if (wide.empty()) return wide;
  // The full path also collapses repeated separators, so "D:\\x" names D:\x:
  // rows of a root typed as "D:\" hold that form, kept on purpose (docs/behaviour.md).
  DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return wide;
  std::wstring full(needed, L'\0');
  DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return wide;
  full.resize(length);
  return full.size() < kPlainPathLimit ? full : LongFormOf(full);
}

std::wstring LongFormOf(const std::wstring& full) {
  if (full.rfind(L"\\\\?\\", 0) == 0) return full;
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring FoldedCaseOf(std::wstring_view path) {
  if (path.empty()) return {};
  std::wstring folded(path.size(), L'\0');
  const int length = static_cast<int>(path.size());
  int folding = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, path.data(), length, folded.data(), length,
                              nullptr, nullptr, 0);
  if (folding != length) return {};
  return folded;
}

bool NothingAt(const std::wstring& full) {
  if (GetFileAttributesW(LongFormOf(full).c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::wstring PlainPathOf(std::wstring path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return path.replace(0, 8, L"\\\\");
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.erase(0, 4);
  return path;
}

}  // namespace tarnwell
