#include "ui/program_directory_win.h"

#include <windows.h>

#include <string>

namespace tarnwell {

void EnterProgramDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return;
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // cut short: try again with more room
  }
  std::size_t separator = path.find_last_of(L'\\');
  if (separator == std::wstring::npos) return;
  // Keep the "\" of a drive root: "C:" alone would mean that drive's current folder.
  path.resize(separator == 2 && path[1] == L':' ? separator + 1 : separator);
  SetCurrentDirectoryW(path.c_str());
}

}  // namespace tarnwell
