// The walks the engine is measured against, over the same tree from the same
// root:
// - the floor: one bare listing pass, every folder listed once with the
//   program's own lister, entering subfolders exactly as the engine does;
// - the naive walk: every folder listed once to find its subfolders, and once
//   more per wanted name with that name's wildcard pattern (folder\name.* for
//   exact, folder\*name* for fuzzy), which makes the cost grow with the names.
#pragma once

#include <cstdint>

#include "platform/files/directory_listing.h"
#include "platform/text/text.h"
#include "search/match/match_mode.h"
#include "search/names/names_box.h"

namespace tarnwell::bench {

struct PassCount {
  std::uint64_t folders = 0;
  std::uint64_t files = 0;  // files seen (floor) or rows found (naive)
  // Listing ahead: the threads listing at the end, and the most at once.
  int threadsAtEnd = 1;
  int mostThreads = 1;
  double awayShare = 0;  // default threads: the share of the time listed with another count than at the end
};

// The floor: lists every folder below `root` once and counts what it saw.
PassCount ListingPass(const Text& root, const DirectoryLister& lister);

// The same pass with `threads` threads listing, as the engine lists with
// them: this thread takes the listings in walk order while threads - 1
// helpers list ahead of it (0: as many as a search lists with by default,
// NewListingPool). Nothing is matched.
PassCount ListingPassAhead(const Text& root, const DirectoryLister& lister, int threads);

// The naive walk. On Windows each name's pattern goes to FindFirstFileExW;
// elsewhere each name costs one more listing of the folder, matched with
// fnmatch against the same pattern. With a `folderLimit` it stops after that
// many folders (for estimating walks too slow to run whole).
PassCount NaiveWalk(const Text& root, const NameList& names, MatchMode mode, const DirectoryLister& lister,
                    std::uint64_t folderLimit = 0);

// True when a child named `name` with these flags is entered by the walk:
// folders only, never links or junctions, never a name ending in ".".
inline bool Entered(const DirectoryEntry& entry) {
  return entry.folder && !entry.link && !entry.name.empty() && entry.name.back() != '.';
}

}  // namespace tarnwell::bench
