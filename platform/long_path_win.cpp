#include "platform/long_path_win.h"

#include <windows.h>

#include "platform/gb18030_wide_win.h"

namespace tarnwell {
namespace {

// Below this length every Win32 file function takes the plain path (folders
// must leave room for an 8.3 name, hence the margin under MAX_PATH).
constexpr std::size_t kPlainPathLimit = MAX_PATH - 12;

}  // namespace

std::wstring Win32PathOf(std::string_view gbkPath) {
  std::wstring wide = Gb18030ToWide(gbkPath);
  if (wide.empty()) return wide;
  // The full path also collapses repeated separators, so "D:\\x" names D:\x.
  DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return wide;
  std::wstring full(needed, L'\0');
  DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return wide;
  full.resize(length);
  if (full.size() < kPlainPathLimit || full.rfind(L"\\\\?\\", 0) == 0) return full;
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring PlainPathOf(std::wstring path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return path.replace(0, 8, L"\\\\");
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.erase(0, 4);
  return path;
}

}  // namespace tarnwell
