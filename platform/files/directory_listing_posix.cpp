// Listing on POSIX systems, for the native tests and benchmarks: the folder
// path becomes a UTF-8 path with "/" separators, the entries' UTF-8 names
// become the program's texts. A symbolic link counts as a reparse point, and
// as a folder when it leads to one, which is how Windows shows a link to a
// folder.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>
#include <string>

#include "platform/files/directory_listing.h"
#include "platform/text/gb18030_utf8.h"
#include "platform/files/posix_path.h"

namespace tarnwell {
namespace {

bool IsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

class PosixLister final : public DirectoryLister {
 public:
  ListingOutcome List(const Text& folder, DirectoryListing& listing) const override {
    listing.Clear();
    DIR* opened = opendir(PosixPathOf(folder).c_str());
    if (opened == nullptr) {
      if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG) return ListingOutcome::Missing;
      listing.SetError(static_cast<std::uint32_t>(errno));
      return ListingOutcome::Failed;
    }
    std::unique_ptr<DIR, DirCloser> dir(opened);
    int dirFd = dirfd(opened);
    for (;;) {
      // readdir tells its end from a failed read only by errno.
      errno = 0;
      dirent* entry = readdir(opened);
      if (entry == nullptr) {
        if (errno == 0) return ListingOutcome::Listed;
        listing.SetError(static_cast<std::uint32_t>(errno));
        return ListingOutcome::Failed;
      }
      std::string_view raw(entry->d_name);
      if (raw == "." || raw == "..") continue;
      bool folderBit = entry->d_type == DT_DIR;
      bool link = entry->d_type == DT_LNK;
      struct stat st;
      if (entry->d_type == DT_UNKNOWN && fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        folderBit = S_ISDIR(st.st_mode);
        link = S_ISLNK(st.st_mode);
      }
      if (link) folderBit = fstatat(dirFd, entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
      // Most names are plain ASCII; those skip the conversion.
      if (IsAscii(raw)) {
        listing.Add(raw, folderBit, link);
      } else {
        listing.Add(Utf8ToGb18030(raw), folderBit, link);
      }
    }
  }
};

}  // namespace

std::unique_ptr<DirectoryLister> NewFileSystemLister() { return std::make_unique<PosixLister>(); }

}  // namespace tarnwell
