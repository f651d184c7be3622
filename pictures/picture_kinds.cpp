#include "pictures/picture_kinds.h"

#include <array>

namespace tarnwell {
namespace {

constexpr std::array<std::string_view, 17> kPictures{"jpg", "jpeg", "jpe", "jfif", "png", "gif",  "bmp",  "dib", "tif",
                                                     "tiff", "heic", "heif", "hif", "webp", "avif", "jxr", "wdp"};
constexpr std::array<std::string_view, 20> kRaw{"cr2", "cr3", "crw", "nef", "nrw", "arw", "sr2", "srf", "dng", "orf",
                                                "pef", "rw2", "raf", "rwl", "srw", "3fr", "iiq", "erf", "mrw", "x3f"};

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char c = a[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != b[i]) return false;
  }
  return true;
}

template <std::size_t N>
bool Listed(const std::array<std::string_view, N>& list, std::string_view extension) {
  for (std::string_view known : list) {
    if (SameLetters(extension, known)) return true;
  }
  return false;
}

}  // namespace

FileKind KindOfFile(std::string_view path) {
  // No GB18030 character holds the byte of "." (trail bytes are 0x30 and
  // more); after a dot in a folder's name comes a "\", which no listed
  // extension holds.
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return FileKind::Other;
  const std::string_view extension = path.substr(dot + 1);
  if (Listed(kPictures, extension)) return FileKind::Picture;
  if (Listed(kRaw, extension)) return FileKind::Raw;
  return FileKind::Other;
}

}  // namespace tarnwell
