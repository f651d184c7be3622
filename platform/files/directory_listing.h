// Listing one folder once: every entry's name (a Text), whether it is a folder
// and whether it is a link the walk must not enter, in the order the file
// system yields them. "." and ".." are never part of a
// listing. A folder that cannot be listed (missing, access denied, not a
// folder, a name that cannot be expressed) gives an empty listing and false:
// for the walk that is a non-event, not an error.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/text/text.h"

namespace tarnwell {

struct DirectoryEntry {
  std::string_view name;
  bool folder = false;
  // A link to elsewhere (symbolic link, junction, mount point) or a reparse
  // point of a kind not known to be safe to enter (see reparse_tag.h); a
  // folder whose content a storage filter keeps (cloud files) is no link.
  bool link = false;
};

// The entries of one folder. The names live in one buffer, so a listing that
// is cleared and refilled folder after folder stops allocating once it has
// grown to the largest folder.
class DirectoryListing {
 public:
  void Clear();
  void Swap(DirectoryListing& other) noexcept {
    names_.swap(other.names_);
    entries_.swap(other.entries_);
    std::swap(error_, other.error_);
  }
  void Add(std::string_view name, bool folder, bool link);
  // Why a listing failed: the system's error code, 0 when it gave none (or
  // the listing did not fail). Cleared with the entries.
  void SetError(std::uint32_t code) { error_ = code; }
  std::uint32_t Error() const { return error_; }

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  DirectoryEntry operator[](std::size_t i) const {
    const Entry& entry = entries_[i];
    return {std::string_view(names_).substr(entry.nameStart, entry.nameLength), entry.folder != 0, entry.link != 0};
  }

 private:
  struct Entry {
    std::uint32_t nameStart;
    std::uint32_t nameLength : 30;
    std::uint32_t folder : 1;
    std::uint32_t link : 1;
  };
  std::string names_;
  std::vector<Entry> entries_;
  std::uint32_t error_ = 0;
};

enum class ListingOutcome : std::uint8_t {
  Listed,   // every entry of the folder is in the listing
  Missing,  // no such folder (gone, never there, not a folder): the listing is empty
  Failed,   // the folder could not be read to its end: the listing holds what was read
};

class DirectoryLister {
 public:
  virtual ~DirectoryLister() = default;
  // Replaces `listing` with the entries of `folder` ("\"-separated path,
  // taken as it is). Safe to call from several threads at once.
  virtual ListingOutcome List(const Text& folder, DirectoryListing& listing) const = 0;
};

// Whether a walk (and whatever keeps what walks list) enters this entry of a
// listing: a folder that is no link and whose name does not end in "." (the
// walk has always passed over such names, as it once passed over "." and
// "..").
bool WalkEnters(const DirectoryEntry& entry);

// The lister of the file system the program runs on, made once.
const DirectoryLister& FileSystemLister();
// A new lister of that file system (directory_listing_win.cpp or _posix.cpp).
std::unique_ptr<DirectoryLister> NewFileSystemLister();

}  // namespace tarnwell
