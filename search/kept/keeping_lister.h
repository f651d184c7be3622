// The lister of one search that keeps what it lists: a folder that the kept
// folders hold fresh is answered from them; any other is listed by the
// system's lister and kept. Before a root of the search is listed, a watch
// is armed on it unless a kept root covers it already. The walk, its
// listing helpers, its rows and its progress stay as they are: only where a
// listing comes from changes.
#pragma once

#include <memory>

#include "platform/files/directory_listing.h"
#include "search/kept/kept_folders.h"
#include "platform/text/text.h"

namespace tarnwell {

class KeepingLister final : public DirectoryLister {
 public:
  // `system` outlives the lister; the kept folders live as long as it holds them.
  KeepingLister(std::shared_ptr<KeptFolders> kept, const DirectoryLister& system, TextList roots);

  ListingOutcome List(const Text& folder, DirectoryListing& listing) const override;

 private:
  std::shared_ptr<KeptFolders> kept_;
  const DirectoryLister& system_;
  TextList roots_;  // the search's roots as typed
};

// The threads that list folders for a search of `roots` through `kept`:
// one when the kept folders cover every root, since their listings then
// come from memory (and the few stale folders are listed by the walk),
// where helpers' hand-offs would cost more than they save; otherwise the
// default (0).
int WalkThreadsThrough(KeptFolders& kept, const TextList& roots);

}  // namespace tarnwell
