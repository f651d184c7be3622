#include "platform/files/appending_file_win.h"

#include <string>

#include "platform/files/long_path_win.h"
#include "platform/files/whole_file_win.h"
#include "platform/text/text.h"

namespace tarnwell {

AppendingFile::AppendingFile(std::string_view path) {
  if (path.empty()) return;
  file_.reset(CreateFileW(Win32PathOf(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool AppendingFile::Append(std::string_view header, std::string_view bytes) {
  if (!file_) return false;
  // Asked at every append: another program may have emptied the file meanwhile.
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file_.get(), &size)) return false;
  if (size.QuadPart != 0) return WriteAll(file_.get(), bytes);
  return WriteAll(file_.get(), Concat(header, bytes));
}

bool AppendingFile::Close() { return file_ && CloseHandle(file_.release()) != 0; }

}  // namespace tarnwell
