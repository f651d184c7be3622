#include <atomic>
#include <memory>
#include <vector>

#include "bench/tree_walks.h"
#include "search/walk/listing_pool.h"

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

PassCount ListingPassAhead(const Text& root, const DirectoryLister& lister, int threads) {
  PassCount count;
  std::unique_ptr<ListingPool> pool = NewListingPool(threads);
  std::atomic<bool> cancelled{false};
  WalkListings listings(pool.get(), lister, cancelled);
  struct Level {
    WalkFolder* folder;
    std::size_t next;
  };
  std::vector<Level> levels;
  auto take = [&](WalkFolder& folder) {
    const DirectoryListing& listing = listings.Take(folder);
    ++count.folders;
    for (std::size_t i = 0; i < listing.size(); ++i) count.files += listing[i].folder ? 0 : 1;
    listings.Release(folder);
    levels.push_back({&folder, 0});
  };
  take(listings.Root(root));
  while (!levels.empty()) {
    Level& top = levels.back();
    if (top.next == top.folder->SubfolderCount()) {
      listings.Forget(*top.folder);
      levels.pop_back();
      continue;
    }
    take(top.folder->Subfolder(top.next++));
  }
  if (pool) {
    count.threadsAtEnd = pool->Threads();
    count.mostThreads = pool->MostThreads();
    count.awayShare = pool->ShareAwayFromThreadsNow();
  }
  return count;
}

}  // namespace tarnwell::bench
