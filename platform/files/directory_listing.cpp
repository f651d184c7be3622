#include "platform/files/directory_listing.h"

namespace tarnwell {

const DirectoryLister& FileSystemLister() {
  // Never destroyed: a walk still running when the process exits (one that
  // outlived the shutdown's wait) may still be listing.
  static const DirectoryLister* const lister = NewFileSystemLister().release();
  return *lister;
}

bool WalkEnters(const DirectoryEntry& entry) {
  return entry.folder && !entry.link && !entry.name.empty() && entry.name.back() != '.';
}

void DirectoryListing::Clear() {
  names_.clear();
  entries_.clear();
  error_ = 0;
}

void DirectoryListing::Add(std::string_view name, bool folder, bool link) {
  Entry entry{};
  entry.nameStart = static_cast<std::uint32_t>(names_.size());
  // A file name holds at most 255 UTF-16 units, four bytes each at most.
  entry.nameLength = static_cast<std::uint32_t>(name.size()) & 0x3FFFFFFFu;
  entry.folder = folder ? 1 : 0;
  entry.link = link ? 1 : 0;
  names_.append(name);
  entries_.push_back(entry);
}

}  // namespace tarnwell
