#include "ui/program_directory_win.h"

#include <windows.h>

#include <string>

#include "platform/files/program_file_win.h"

namespace tarnwell {

void EnterProgramDirectory() {
  std::wstring path = ProgramFilePath();
  std::size_t separator = path.find_last_of(L'\\');
  if (separator == std::wstring::npos) return;
  // Keep the "\" of a drive root: "C:" alone would mean that drive's current folder.
  path.resize(separator == 2 && path[1] == L':' ? separator + 1 : separator);
  SetCurrentDirectoryW(path.c_str());
}

}  // namespace tarnwell
