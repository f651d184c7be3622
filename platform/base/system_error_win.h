// The system's own words for a Win32 error code, as the program's text, for
// what the user reads about a file operation that failed.
#pragma once

#include <windows.h>

#include "platform/text/text.h"

namespace tarnwell {

// FormatMessageW's text for `code` without its line break; for a code the
// system has no text for, "错误代码 " and the number.
Text SystemErrorMessage(DWORD code);

// Keeps the thread's last error across clean-up calls that may change it,
// so that the caller still learns why the operation itself failed.
class LastErrorKept {
 public:
  LastErrorKept() : error_(GetLastError()) {}
  LastErrorKept(const LastErrorKept&) = delete;
  LastErrorKept& operator=(const LastErrorKept&) = delete;
  ~LastErrorKept() { SetLastError(error_); }

 private:
  DWORD error_;
};

}  // namespace tarnwell
