#include "search/walk/walk_directory.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tarnwell {
namespace {

// A folder searched, with the index of its next subfolder to walk. The walk
// keeps these on its own stack rather than recursing: paths of 32,767
// characters nest deeper than a thread's stack would like.
struct Level {
  WalkFolder* folder;
  std::size_t next = 0;
};

class Walker {
 public:
  Walker(const WalkInputs& inputs, WalkOutput& output)
      : inputs_(inputs), output_(output), listings_(inputs.pool, inputs.lister, inputs.cancelled) {}

  bool Walk(const Text& root) {
    levels_.push_back(Level{&listings_.Root(root)});
    if (!SearchFolder(*levels_.back().folder)) return false;
    while (!levels_.empty()) {
      if (Cancelled()) return false;
      Level& top = levels_.back();
      if (top.next == top.folder->SubfolderCount()) {
        listings_.Forget(*top.folder);
        levels_.pop_back();
        continue;
      }
      levels_.push_back(Level{&top.folder->Subfolder(top.next++)});
      if (!SearchFolder(*levels_.back().folder)) return false;
    }
    return true;
  }

 private:
  bool Cancelled() const { return inputs_.cancelled.load(std::memory_order_relaxed); }

  // Takes the folder's listing (made once, maybe ahead on another thread)
  // and sends its rows; its subfolders come with the listing.
  bool SearchFolder(WalkFolder& folder) {
    MatchMode mode = inputs_.mode();
    const DirectoryListing& listing = listings_.Take(folder);
    // Each match as (wanted name, entry), so that sorting puts the rows in
    // NameList order and, within a name, in listing order.
    found_.clear();
    for (std::size_t j = 0; j < listing.size(); ++j) {
      if (Cancelled()) return false;
      DirectoryEntry entry = listing[j];
      if (entry.folder) continue;
      inputs_.matcher.Match(entry.name, mode, scratch_);
      for (std::uint32_t index : scratch_.Matches()) found_.push_back((std::uint64_t{index} << 32) | j);
    }
    std::sort(found_.begin(), found_.end());
    for (std::uint64_t match : found_) {
      output_.Row(folder.Path(), listing[match & 0xFFFFFFFF].name, static_cast<std::uint32_t>(match >> 32));
    }
    if (folder.Outcome() == ListingOutcome::Failed) output_.FolderFailed(folder.Path(), listing.Error());
    output_.FolderSearched(folder.Path());
    listings_.Release(folder);
    return true;
  }

  const WalkInputs& inputs_;
  WalkOutput& output_;
  // Declared before the levels, which point into its folders.
  WalkListings listings_;
  std::vector<Level> levels_;
  MatchScratch scratch_;
  std::vector<std::uint64_t> found_;
};

}  // namespace

bool WalkDirectory(const Text& root, const WalkInputs& inputs, WalkOutput& output) {
  Walker walker(inputs, output);
  return walker.Walk(root);
}

}  // namespace tarnwell
