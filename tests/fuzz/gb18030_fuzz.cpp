// Fuzz target: the conversion between the program's texts and UTF-16. The
// input is read twice: as a Text (bytes) and as UTF-16 units (pairs of
// bytes, low byte first). Every Text comes back from its UTF-16 byte for
// byte (unless it holds the unassigned four-byte codes the conversion keeps
// for lone surrogates), every UTF-16 string unit for unit; a "?" appears
// only where one was; and every character read from the bytes converts as
// the C library's GB18030 converter says (see gb18030_oracle.h).
#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/text/gb18030.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/gb18030_oracle.h"

using namespace tarnwell;
using namespace tarnwell::fuzz;

namespace {

// Whether the text holds, at any byte (the reading resumes at the next byte
// after one that starts no character), a four-byte code of the range kept
// for lone surrogates and other units without a form.
bool HoldsEscapeCode(std::string_view text) {
  for (std::size_t i = 0; i + 4 <= text.size(); ++i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]) + 0u; };
    if (byte(0) < 0x81 || byte(0) > 0xFE || CharacterLength(text, i) != 4) continue;
    std::uint32_t pointer = (byte(0) - 0x81) * 12600 + (byte(1) - 0x30) * 1260 + (byte(2) - 0x81) * 10 + (byte(3) - 0x30);
    if (pointer >= kEscapePointer && pointer < kEscapePointer + 0x10000) return true;
  }
  return false;
}

std::string AsBytes(const Utf16& wide) {
  std::string bytes;
  for (Utf16Unit unit : wide) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Gb18030Oracle oracle;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // The bytes as a Text.
  const Utf16 decoded = TextToUtf16(text);
  if (!HoldsEscapeCode(text)) Require(Utf16ToText(decoded) == text, "a Text comes back from its UTF-16", {text});
  Require(TextToUtf16(Utf16ToText(decoded)) == decoded, "UTF-16 read from a Text comes back", {text});
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    char32_t c = static_cast<char16_t>(decoded[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < decoded.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(decoded[++i]) - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      continue;  // a byte that starts no character, or an unassigned four-byte code
    }
    Utf16 one = c < 0x10000 ? Utf16(1, static_cast<Utf16Unit>(c))
                            : Utf16{static_cast<Utf16Unit>(0xD800 + ((c - 0x10000) >> 10)),
                                    static_cast<Utf16Unit>(0xDC00 + (c & 0x3FF))};
    const Text ours = Utf16ToText(one);
    Require(c < 0x80 || oracle.Agrees(c, ours), "a character converts as GB18030 gives it", {text, ours});
  }

  // The bytes as UTF-16 units.
  Utf16 wide;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    Utf16Unit unit = static_cast<Utf16Unit>(data[i] | data[i + 1] << 8);
    if (unit != 0) wide.push_back(unit);
  }
  const Text encoded = Utf16ToText(wide);
  Require(TextToUtf16(encoded) == wide, "UTF-16 comes back from its Text", {AsBytes(wide), encoded});
  Require(std::count(encoded.begin(), encoded.end(), '?') == std::count(wide.begin(), wide.end(), u'?'),
          "no character becomes a \"?\"", {AsBytes(wide), encoded});
  return 0;
}
