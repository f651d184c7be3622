#include "bench/memory_tree.h"

#include <cstdio>
#include <cstdlib>

namespace tarnwell::bench {

ListingOutcome MemoryTreeLister::List(const Text& folder, DirectoryListing& listing) const {
  listing.Clear();
  char name[32];
  if (folder == root_) {
    for (int i = 0; i < folders_; ++i) {
      std::snprintf(name, sizeof name, "d%05d", i);
      listing.Add(name, true, false);
    }
    return ListingOutcome::Listed;
  }
  // Below the root: root + "\d" + the folder's number.
  if (folder.size() <= root_.size() + 2 || folder.compare(0, root_.size(), root_) != 0) return ListingOutcome::Missing;
  long long index = std::atoll(folder.c_str() + root_.size() + 2);
  for (int j = 0; j < files_; ++j) {
    // Different for every file, 18 digits, scattered like real numbers.
    unsigned long long number = (static_cast<unsigned long long>(index * files_ + j) * 2654435761ull) % 900000000000000000ull;
    std::snprintf(name, sizeof name, "%018llu.jpg", number + 100000000000000000ull);
    listing.Add(name, false, false);
  }
  return ListingOutcome::Listed;
}

}  // namespace tarnwell::bench
