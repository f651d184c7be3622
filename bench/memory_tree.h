// A tree that exists only in memory, for feeding the result list as fast as
// a walk can: the root holds `folders` folders, each of them `files` files
// named like photo numbers ("123456789012345678.jpg"), all different. With
// the fuzzy name "jpg" every file is one row.
#pragma once

#include "platform/files/directory_listing.h"
#include "platform/text/text.h"

namespace tarnwell::bench {

class MemoryTreeLister final : public DirectoryLister {
 public:
  MemoryTreeLister(Text root, int folders, int files) : root_(std::move(root)), folders_(folders), files_(files) {}

  ListingOutcome List(const Text& folder, DirectoryListing& listing) const override;

  const Text& Root() const { return root_; }
  long long Files() const { return static_cast<long long>(folders_) * files_; }

 private:
  Text root_;
  int folders_;
  int files_;
};

}  // namespace tarnwell::bench
