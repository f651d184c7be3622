#include <vector>

#include "bench/naive_walk_pattern.h"
#include "bench/tree_walks.h"

namespace tarnwell::bench {

PassCount NaiveWalk(const Text& root, const NameList& names, MatchMode mode, const DirectoryLister& lister,
                    std::uint64_t folderLimit) {
  PassCount count;
  DirectoryListing listing;
  PatternLister patterns;
  std::vector<Text> pending{root};
  std::vector<Text> children;
  while (!pending.empty() && (folderLimit == 0 || count.folders < folderLimit)) {
    Text folder = std::move(pending.back());
    pending.pop_back();
    ++count.folders;
    for (const Text& name : names) {
      Text pattern = mode == MatchMode::Exact ? Concat(name, ".*") : Concat("*", name, "*");
      count.files += patterns.CountFiles(folder, pattern);
    }
    lister.List(folder, listing);
    children.clear();
    for (std::size_t i = 0; i < listing.size(); ++i) {
      if (Entered(listing[i])) children.push_back(Concat(folder, "\\", listing[i].name));
    }
    for (auto child = children.rbegin(); child != children.rend(); ++child) pending.push_back(std::move(*child));
  }
  return count;
}

}  // namespace tarnwell::bench
