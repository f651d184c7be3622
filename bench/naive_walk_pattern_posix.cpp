// POSIX has no listing through a pattern, so each call lists the folder with
// the program's lister and matches every entry with fnmatch: the same one
// listing per wanted name that the pattern costs on Windows.
#include <fnmatch.h>
#include <strings.h>

#include "bench/naive_walk_pattern.h"

namespace tarnwell::bench {

std::uint64_t PatternLister::CountFiles(const Text& folder, const Text& pattern) {
  FileSystemLister().List(folder, listing_);
  // Windows lets "name.*" match a name without an extension too.
  bool dotStar = pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0;
  Text bare = dotStar ? pattern.substr(0, pattern.size() - 2) : Text();
  std::uint64_t files = 0;
  Text name;
  for (std::size_t i = 0; i < listing_.size(); ++i) {
    DirectoryEntry entry = listing_[i];
    if (entry.folder) continue;
    name.assign(entry.name);
    if (fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0 ||
        (dotStar && strcasecmp(bare.c_str(), name.c_str()) == 0)) {
      ++files;
    }
  }
  return files;
}

}  // namespace tarnwell::bench
