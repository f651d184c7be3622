#include "search/kept/keeping_lister.h"

#include <algorithm>
#include <utility>

namespace tarnwell {

KeepingLister::KeepingLister(std::shared_ptr<KeptFolders> kept, const DirectoryLister& system, TextList roots)
    : kept_(std::move(kept)), system_(system), roots_(std::move(roots)) {}

ListingOutcome KeepingLister::List(const Text& folder, DirectoryListing& listing) const {
  // A walk lists its root before anything below it: the watch is armed
  // before the walk opens a folder.
  if (std::find(roots_.begin(), roots_.end(), folder) != roots_.end()) kept_->PrepareRoot(folder);
  const KeptFolders::ListingTicket begun = kept_->Begin(folder, listing);
  if (begun.answered) return ListingOutcome::Listed;
  const ListingOutcome outcome = system_.List(folder, listing);
  kept_->Record(begun, outcome, listing);
  return outcome;
}

int WalkThreadsThrough(KeptFolders& kept, const TextList& roots) {
  if (roots.empty()) return 0;
  for (const Text& root : roots) {
    if (!kept.Covers(root)) return 0;
  }
  return 1;
}

}  // namespace tarnwell
