// Opening a file the user asked to see (a result row, the not-found report)
// through the shell. A path the shell cannot take is told in a message box,
// so that a click never silently does nothing.
#pragma once

#include <string_view>

namespace tarnwell {

// Opens path with `open` (ShellOpen or OpenWithBrowserOwner); when that
// cannot hand the path to the shell, says "文件路径太长，无法打开！".
void OpenOrTell(bool (*open)(std::string_view), std::string_view path);

}  // namespace tarnwell
