// Fuzz target: the text primitives and TextSearch against the plain references, and the
// decoding of name lists (UTF-8 validation, UTF-16) by round trips. The input's
// first field (up to its first zero byte) is the text, the second one the
// sought text or separator; counts for the cuts come from both.
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/text/text.h"
#include "platform/text/text_decoding.h"
#include "platform/text/text_search.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/reference_text.h"

using namespace tarnwell;
using namespace tarnwell::fuzz;

namespace {

void CheckSearches(std::string_view s, std::string_view sought) {
  for (bool ignoreCase : {false, true}) {
    Require(FindText(s, sought, ignoreCase) == RefFind(s, sought, ignoreCase, false),
            ignoreCase ? "FindText ignoring case" : "FindText", {s, sought});
    Require(FindLastText(s, sought, ignoreCase) == RefFind(s, sought, ignoreCase, true),
            ignoreCase ? "FindLastText ignoring case" : "FindLastText", {s, sought});
    Require(TextSearch(s, ignoreCase).Find(sought) == RefFind(s, sought, ignoreCase, false),
            ignoreCase ? "TextSearch ignoring case" : "TextSearch", {s, sought});
  }
}

void CheckSplit(std::string_view s, std::string_view separator) {
  TextList pieces = SplitText(s, separator);
  Require(pieces == RefSplit(s, separator), "SplitText", {s, separator});
}

void CheckCuts(std::string_view s, int count) {
  Require(LeftText(s, count) == RefLeft(s, count), "LeftText", {s, std::to_string(count)});
  Require(RightText(s, count) == RefRight(s, count), "RightText", {s, std::to_string(count)});
}

// Plain UTF-16 (little-endian) of text that IsValidUtf8 accepted, decoded
// without any check: a sequence accepted wrongly (overlong, a surrogate, too
// large) does not come back the same through Utf16ToUtf8.
std::string RefUtf16(std::string_view utf8) {
  std::string out;
  auto unit = [&](std::uint32_t u) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length && i + static_cast<std::size_t>(k) < utf8.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
    }
    i += static_cast<std::size_t>(length);
    if (code >= 0x10000) {
      unit(0xD800 + ((code - 0x10000) >> 10));
      unit(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      unit(code);
    }
  }
  return out;
}

void CheckDecoding(std::string_view s) {
  for (bool bigEndian : {false, true}) {
    Require(IsValidUtf8(Utf16ToUtf8(s, bigEndian)), "Utf16ToUtf8 gives valid UTF-8", {s});
  }
  if (IsValidUtf8(s)) Require(Utf16ToUtf8(RefUtf16(s), false) == s, "valid UTF-8 through UTF-16 and back", {s});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string_view> fields = SplitFields(data, size);
  std::string_view s = fields[0];
  std::string_view sought = fields.size() > 1 ? fields[1] : std::string_view();

  CheckSearches(s, sought);
  CheckSearches(s, "\\");
  CheckSplit(s, sought);
  CheckSplit(s, "\r\n");
  Require(RemoveAllSpaces(s) == RefRemoveSpaces(s), "RemoveAllSpaces", {s});
  CheckDecoding(s);

  Require(TextLength(s) == static_cast<int>(s.size()), "TextLength", {s});
  bool equal = s.size() == sought.size();
  for (std::size_t i = 0; equal && i < s.size(); ++i) equal = s[i] == sought[i];
  Require(TextEquals(s, sought) == equal, "TextEquals", {s, sought});
  Require(Concat(s, sought) == std::string(s) + std::string(sought), "Concat", {s, sought});
  std::vector<unsigned char> bytes = TextToBytes(s);
  Require(std::string(bytes.begin(), bytes.end()) == s, "TextToBytes", {s});

  const int length = static_cast<int>(s.size());
  const int given = sought.empty() ? 0 : static_cast<signed char>(sought[0]);
  for (int count : {given, -1, 0, 1, length - 1, length, length + 1, INT_MIN, INT_MAX}) CheckCuts(s, count);

  if (s.size() >= 4) {
    std::int32_t n;
    std::memcpy(&n, s.data(), 4);
    Require(NumberToText(n) == std::to_string(n), "NumberToText", {s});
  }
  return 0;
}
