// A file held open for a run of appends (the action record while a batch
// runs): one open for the run instead of one for each line, which under
// some systems costs as much as the line's file work. Every append is one
// write at the file's end, so a line is either all there or not at all;
// other programs may read the file, and append to it, meanwhile.
#pragma once

#include <string_view>

#include "platform/base/unique_handle_win.h"

namespace tarnwell {

class AppendingFile {
 public:
  // Opens the file, creating it when missing; Opened() says whether it is.
  explicit AppendingFile(std::string_view path);

  bool Opened() const { return static_cast<bool>(file_); }
  // Appends the bytes, `header` first when the file is new or empty.
  bool Append(std::string_view header, std::string_view bytes);
  // Closes the file; false when the system could not finish writing it.
  bool Close();

 private:
  UniqueFile file_;
};

}  // namespace tarnwell
