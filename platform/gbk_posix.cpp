#include <iconv.h>

#include <cerrno>

#include "platform/gbk.h"

namespace tarnwell {
namespace {

// Converts with iconv, putting `replacement` for every input sequence that
// cannot be converted and going on after it.
std::string Convert(const char* to, const char* from, std::string_view input, std::string_view replacement,
                    std::size_t skipOnError) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(input);
  std::string output;
  char buffer[4096];
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
    output.append(buffer, out);
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      output.append(replacement);
      std::size_t skip = std::min(skipOnError, inLeft);
      // Skip a whole UTF-8 sequence when converting from UTF-8.
      if (skipOnError == 1 && std::string_view(from) == "UTF-8") {
        while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
      }
      in += skip;
      inLeft -= skip;
    }
  }
  iconv_close(cd);
  return output;
}

}  // namespace

Text Utf8ToGbk(std::string_view utf8) { return Convert("CP936", "UTF-8", utf8, "?", 1); }

std::string GbkToUtf8(std::string_view gbk) { return Convert("UTF-8", "CP936", gbk, "\xEF\xBF\xBD", 1); }

}  // namespace tarnwell
