#include <vector>

#include "bench/tree_walks.h"

namespace tarnwell::bench {

PassCount ListingPass(const Text& root, const DirectoryLister& lister) {
  PassCount count;
  DirectoryListing listing;
  // Folders still to list, deepest last, in the engine's depth-first order.
  std::vector<Text> pending{root};
  std::vector<Text> children;
  while (!pending.empty()) {
    Text folder = std::move(pending.back());
    pending.pop_back();
    lister.List(folder, listing);
    ++count.folders;
    children.clear();
    for (std::size_t i = 0; i < listing.size(); ++i) {
      DirectoryEntry entry = listing[i];
      if (!entry.folder) {
        ++count.files;
      } else if (Entered(entry)) {
        children.push_back(Concat(folder, "\\", entry.name));
      }
    }
    for (auto child = children.rbegin(); child != children.rend(); ++child) pending.push_back(std::move(*child));
  }
  return count;
}

}  // namespace tarnwell::bench
