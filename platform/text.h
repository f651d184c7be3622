// Text primitives. A Text is a string of code-page-936 (GBK) bytes: every
// length, count and position is in those bytes, positions are 1-based and a
// search that finds nothing gives -1. A byte of 0x80 or more is the lead byte
// of a two-byte character; searches and splits step over such characters
// whole, so no match ever starts on a trail byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

using Text = std::string;
using TextList = std::vector<Text>;

inline bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

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
