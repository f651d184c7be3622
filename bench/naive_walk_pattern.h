// One listing of a folder through a wildcard pattern, as the naive walk makes
// it once per wanted name.
#pragma once

#include <cstdint>

#include "platform/files/directory_listing.h"
#include "platform/text/text.h"

namespace tarnwell::bench {

class PatternLister {
 public:
  // The files (not folders) of `folder` whose names match `pattern` ("*" and
  // "?" wildcards, case ignored, "name.*" also matching "name" as Windows has it).
  std::uint64_t CountFiles(const Text& folder, const Text& pattern);

 private:
  DirectoryListing listing_;  // used where the pattern is matched after a full listing
};

}  // namespace tarnwell::bench
