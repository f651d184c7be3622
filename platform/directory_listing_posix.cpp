// Listing on POSIX systems, for the native tests and benchmarks: the GBK
// folder path becomes a UTF-8 path with "/" separators, the entries' UTF-8
// names become GBK. A symbolic link counts as a reparse point, and as a
// folder when it leads to one, which is how Windows shows a link to a folder.
#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <string>

#include "platform/directory_listing.h"

namespace tarnwell {
namespace {

bool IsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// One iconv descriptor per thread and direction, opened on first use: opening
// one per name would cost more than the listing itself.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (Usable()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts `input` into `output`. With `replaceBad` a sequence that cannot
  // be converted becomes "?" (a whole UTF-8 sequence is skipped); without it
  // the conversion fails. Returns false on failure.
  bool Convert(std::string_view input, std::string& output, bool replaceBad) {
    output.clear();
    if (!Usable()) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[1024];
    while (inLeft > 0) {
      char* out = buffer;
      std::size_t outLeft = sizeof buffer;
      std::size_t rc = iconv(cd_, &in, &inLeft, &out, &outLeft);
      output.append(buffer, out);
      if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      if (!replaceBad) return false;
      output.push_back('?');
      std::size_t skip = 1;
      while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
      in += skip;
      inLeft -= skip;
    }
    return true;
  }

 private:
  bool Usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd_;
};

bool NativePathOf(const Text& folder, std::string& path) {
  if (IsAscii(folder)) {
    path = folder;
  } else {
    thread_local Converter toUtf8("UTF-8", "CP936");
    if (!toUtf8.Convert(folder, path, false)) return false;
  }
  // In UTF-8 every byte 0x5C is a backslash (in GBK it can be a trail byte,
  // hence the conversion first).
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return true;
}

void GbkNameOf(std::string_view utf8, std::string& name) {
  if (IsAscii(utf8)) {
    name.assign(utf8);
    return;
  }
  thread_local Converter toGbk("CP936", "UTF-8");
  toGbk.Convert(utf8, name, true);
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

class PosixLister final : public DirectoryLister {
 public:
  bool List(const Text& folder, DirectoryListing& listing) const override {
    listing.Clear();
    thread_local std::string path;
    thread_local std::string name;
    if (!NativePathOf(folder, path)) return false;
    DIR* opened = opendir(path.c_str());
    if (opened == nullptr) return false;
    std::unique_ptr<DIR, DirCloser> dir(opened);
    int dirFd = dirfd(opened);
    while (dirent* entry = readdir(opened)) {
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
      GbkNameOf(raw, name);
      listing.Add(name, folderBit, link);
    }
    return true;
  }
};

}  // namespace

const DirectoryLister& FileSystemLister() {
  // Never destroyed: detached walks may still be listing while the process exits.
  static const DirectoryLister* const lister = new PosixLister;
  return *lister;
}

}  // namespace tarnwell
