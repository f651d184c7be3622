#include "tests/win/support/held_lister.h"

#include <chrono>

namespace tarnwell::testing {

ListingOutcome HeldLister::List(const Text& folder, DirectoryListing& listing) const {
  {
    std::unique_lock lock(mutex_);
    listed_.push_back(folder);
    if (Cancelled()) ++listedAfterCancel_;
    if (folder == held_) {
      reached_ = true;
      changed_.notify_all();
      // Cancel() tells nobody: the flag is looked at every few milliseconds.
      while (!released_ && !Cancelled()) changed_.wait_for(lock, std::chrono::milliseconds(5));
    }
  }
  return FileSystemLister().List(folder, listing);
}

bool HeldLister::Reached() const {
  std::lock_guard lock(mutex_);
  return reached_;
}

void HeldLister::Release() {
  std::lock_guard lock(mutex_);
  released_ = true;
  changed_.notify_all();
}

void HeldLister::Watch(std::shared_ptr<Search> search) {
  std::lock_guard lock(mutex_);
  watched_ = std::move(search);
}

int HeldLister::ListedAfterCancel() const {
  std::lock_guard lock(mutex_);
  return listedAfterCancel_;
}

TextList HeldLister::Listed() const {
  std::lock_guard lock(mutex_);
  return listed_;
}

}  // namespace tarnwell::testing
