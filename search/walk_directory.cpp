#include "search/walk_directory.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tarnwell {
namespace {

// A folder searched, with the subfolders still to walk. The walk keeps these
// on its own stack rather than recursing: paths of 32,767 characters nest
// deeper than a thread's stack would like.
struct Level {
  Text folder;
  std::vector<Text> subfolders;
  std::size_t next = 0;
};

class Walker {
 public:
  Walker(const WalkInputs& inputs, WalkOutput& output) : inputs_(inputs), output_(output) {}

  bool Walk(const Text& root) {
    levels_.push_back(Level{root, {}, 0});
    if (!SearchFolder(levels_.back())) return false;
    while (!levels_.empty()) {
      if (Cancelled()) return false;
      Level& top = levels_.back();
      if (top.next == top.subfolders.size()) {
        levels_.pop_back();
        continue;
      }
      Text child = Concat(top.folder, "\\", top.subfolders[top.next++]);
      levels_.push_back(Level{std::move(child), {}, 0});
      if (!SearchFolder(levels_.back())) return false;
    }
    return true;
  }

 private:
  bool Cancelled() const { return inputs_.cancelled.load(std::memory_order_relaxed); }

  // Lists the folder once, sends its rows and keeps its subfolders in `level`.
  bool SearchFolder(Level& level) {
    MatchMode mode = inputs_.mode();
    inputs_.lister.List(level.folder, listing_);
    // Each match as (wanted name, entry), so that sorting puts the rows in
    // NameList order and, within a name, in listing order.
    found_.clear();
    for (std::size_t j = 0; j < listing_.size(); ++j) {
      if (Cancelled()) return false;
      DirectoryEntry entry = listing_[j];
      if (entry.folder) {
        bool enter = !entry.link && !entry.name.empty() && entry.name.back() != '.';
        if (enter) level.subfolders.emplace_back(entry.name);
        continue;
      }
      inputs_.matcher.Match(entry.name, mode, scratch_);
      for (std::uint32_t index : scratch_.Matches()) found_.push_back((std::uint64_t{index} << 32) | j);
    }
    std::sort(found_.begin(), found_.end());
    for (std::uint64_t match : found_) {
      output_.Row(level.folder, listing_[match & 0xFFFFFFFF].name, static_cast<std::uint32_t>(match >> 32));
    }
    output_.FolderSearched(level.folder);
    return true;
  }

  const WalkInputs& inputs_;
  WalkOutput& output_;
  std::vector<Level> levels_;
  DirectoryListing listing_;
  MatchScratch scratch_;
  std::vector<std::uint64_t> found_;
};

}  // namespace

bool WalkDirectory(const Text& root, const WalkInputs& inputs, WalkOutput& output) {
  Walker walker(inputs, output);
  return walker.Walk(root);
}

}  // namespace tarnwell
