// Text primitives. A Text is a string of GB18030 bytes (every character GBK
// holds in its GBK bytes, every other one in its four-byte form): every
// length, count and position is in those bytes, positions are 1-based and a
// search that finds nothing gives -1. CharacterLength says where characters
// start; searches, splits and matching step over characters whole, so no
// match ever starts inside one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

using Text = std::string;
using TextList = std::vector<Text>;

// The length of the character that starts at byte `at` of s (at < s.size()),
// the one rule every part of the program splits texts by: a byte below 0x80
// is a character of its own; a byte of 0x80 or more followed by a digit
// (0x30-0x39), a byte 0x81-0xFE and a digit starts a four-byte character; any
// other byte of 0x80 or more takes the byte after it, whatever that is, and
// at the very end of the text it stands alone.
inline std::size_t CharacterLength(std::string_view s, std::size_t at) {
  auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  if (byteAt(at) < 0x80) return 1;
  if (at + 1 == s.size()) return 1;
  auto digit = [](unsigned char byte) { return byte >= 0x30 && byte <= 0x39; };
  if (at + 3 < s.size() && digit(byteAt(at + 1)) && byteAt(at + 2) >= 0x81 && byteAt(at + 2) <= 0xFE &&
      digit(byteAt(at + 3))) {
    return 4;
  }
  return 2;
}

bool TextEquals(std::string_view a, std::string_view b);

template <class... Parts>
Text Concat(const Parts&... parts) {
  Text joined;
  joined.reserve((std::string_view(parts).size() + ... + 0));
  (joined.append(std::string_view(parts)), ...);
  return joined;
}

int TextLength(std::string_view s);
Text LeftText(std::string_view s, int count);
Text RightText(std::string_view s, int count);
int FindText(std::string_view s, std::string_view sought, bool ignoreCase);
int FindLastText(std::string_view s, std::string_view sought, bool ignoreCase);
Text RemoveAllSpaces(std::string_view s);
TextList SplitText(std::string_view s, std::string_view separator);
std::vector<unsigned char> TextToBytes(std::string_view s);
Text NumberToText(std::int32_t n);

}  // namespace tarnwell
