// On Windows the pattern goes to the file system, with the same information
// level and fetch size as the program's own listing.
#include <windows.h>

#include "bench/naive_walk_pattern.h"
#include "platform/files/long_path_win.h"
#include "platform/base/unique_handle_win.h"

namespace tarnwell::bench {

std::uint64_t PatternLister::CountFiles(const Text& folder, const Text& pattern) {
  std::wstring path = Win32PathOf(Concat(folder, "\\", pattern));
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(FindFirstFileExW(path.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return 0;
  std::uint64_t files = 0;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) ++files;
  } while (FindNextFileW(find.get(), &data));
  return files;
}

}  // namespace tarnwell::bench
