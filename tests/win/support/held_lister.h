// A lister of the real file system that holds a walk at one folder, so that
// a test acts while the walk is known to be there: the listing of that
// folder waits until the test lets it go, or until the search the lister
// watches is cancelled. It keeps the folders listed, and how many listings
// began after the watched search was cancelled.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/files/directory_listing.h"
#include "search/search.h"

namespace tarnwell::testing {

class HeldLister final : public DirectoryLister {
 public:
  explicit HeldLister(Text heldFolder) : held_(std::move(heldFolder)) {}

  ListingOutcome List(const Text& folder, DirectoryListing& listing) const override;

  // A walk has reached the held folder (and waits there until let go).
  bool Reached() const;
  // Lets the held walk go on.
  void Release();
  // From now on, a cancellation of `search` lets the held walk go on, and
  // every listing that begins after it is counted.
  void Watch(std::shared_ptr<Search> search);
  int ListedAfterCancel() const;
  TextList Listed() const;

 private:
  bool Cancelled() const { return watched_ && watched_->Cancelled(); }

  Text held_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  mutable bool reached_ = false;
  bool released_ = false;
  std::shared_ptr<Search> watched_;
  mutable TextList listed_;
  mutable int listedAfterCancel_ = 0;
};

}  // namespace tarnwell::testing
