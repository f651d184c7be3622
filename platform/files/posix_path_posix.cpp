#include "platform/files/posix_path.h"

#include "platform/text/gb18030_utf8.h"

namespace tarnwell {

std::string PosixPathOf(std::string_view path) {
  // In UTF-8 every byte 0x5C is a "\" of its own (in the program's texts it
  // can be a byte of a longer character), hence the conversion first.
  std::string native = Gb18030ToUtf8(path);
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

}  // namespace tarnwell
