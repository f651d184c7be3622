// The walk of one root. Every folder is listed once; its files are matched
// against all wanted names in memory, and its rows come out as if the folder
// had been listed once per wanted name: for each wanted name in NameList
// order, the matching files in listing order. Folders never match. Then the
// subfolders are walked depth first in listing order, except those whose name
// ends in "." and those the listing marks as links (junctions, symbolic
// links: entering them could loop forever). Rows are folder + "\" + name
// with the folder exactly as given, so the root "C:" gives "C:\boot.ini" and
// "D:\" gives "D:\\x" (kept on purpose: docs/behaviour.md).
#pragma once

#include <atomic>
#include <functional>
#include <string_view>

#include "platform/files/directory_listing.h"
#include "platform/text/text.h"
#include "search/walk/listing_pool.h"
#include "search/match/match_mode.h"
#include "search/match/name_matcher.h"

namespace tarnwell {

// Receives what a walk finds, in walk order, on the walking thread.
class WalkOutput {
 public:
  virtual ~WalkOutput() = default;
  // A file of `folder` that matches wanted name number `nameIndex`.
  virtual void Row(const Text& folder, std::string_view name, std::uint32_t nameIndex) = 0;
  // Every wanted name has been looked for in `folder` (also when it could not be listed).
  virtual void FolderSearched(const Text& folder) = 0;
  // `folder` is there but could not be read to its end, twice: its rows are
  // those of the entries read; `error` is the system's code for why (0 when
  // it gave none). Comes before its FolderSearched.
  virtual void FolderFailed(const Text& folder, std::uint32_t error) = 0;
};

struct WalkInputs {
  const DirectoryLister& lister;
  const NameMatcher& matcher;
  // Read once per folder, before its files are matched, so that a change of
  // mode during the walk applies from the next folder on.
  const std::function<MatchMode()>& mode;
  // Looked at before every folder and every entry; once set, the walk stops
  // (and nothing more is listed for it).
  const std::atomic<bool>& cancelled;
  // Helpers that list the walk's next folders ahead of it; without them the
  // walk lists each folder itself when it comes to it. The rows are the same.
  ListingPool* pool = nullptr;
};

// Walks `root` and everything below it. Returns false when it stopped because
// it was cancelled, true when it walked to the end.
bool WalkDirectory(const Text& root, const WalkInputs& inputs, WalkOutput& output);

}  // namespace tarnwell
