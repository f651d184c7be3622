#include "platform/text.h"

#include <algorithm>
#include <charconv>

namespace tarnwell {
namespace {

unsigned char ByteAt(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

unsigned char FoldAscii(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// `at` is a character boundary of s. With ignoreCase only ASCII letters that
// are characters of their own fold: the trail byte of a two-byte character
// must be equal even when it looks like a letter.
bool MatchesAt(std::string_view s, std::size_t at, std::string_view sought, bool ignoreCase) {
  bool trail = false;
  for (std::size_t k = 0; k < sought.size(); ++k) {
    unsigned char a = ByteAt(s, at + k);
    unsigned char b = ByteAt(sought, k);
    if (ignoreCase && !trail ? FoldAscii(a) != FoldAscii(b) : a != b) return false;
    trail = !trail && IsLeadByte(a);
  }
  return true;
}

// Calls visit(position) for every character boundary at which `sought` fits,
// in ascending order, until visit returns false. Positions are 0-based here.
template <class Visit>
void ForEachMatch(std::string_view s, std::string_view sought, bool ignoreCase, Visit visit) {
  std::size_t p = 0;
  while (p + sought.size() <= s.size()) {
    if (MatchesAt(s, p, sought, ignoreCase) && !visit(p)) return;
    if (IsLeadByte(ByteAt(s, p))) {
      if (p + 1 >= s.size()) return;  // the trail byte would be the end of the text
      ++p;
    }
    ++p;
  }
}

std::size_t ClipCount(std::string_view s, int count) {
  if (count <= 0) return 0;
  return std::min(static_cast<std::size_t>(count), s.size());
}

}  // namespace

bool TextEquals(std::string_view a, std::string_view b) { return a == b; }

int TextLength(std::string_view s) { return static_cast<int>(s.size()); }

Text LeftText(std::string_view s, int count) { return Text(s.substr(0, ClipCount(s, count))); }

Text RightText(std::string_view s, int count) {
  std::size_t n = ClipCount(s, count);
  return Text(s.substr(s.size() - n));
}

int FindText(std::string_view s, std::string_view sought, bool ignoreCase) {
  if (sought.empty()) return s.empty() ? -1 : 1;
  int found = -1;
  ForEachMatch(s, sought, ignoreCase, [&](std::size_t p) {
    found = static_cast<int>(p) + 1;
    return false;
  });
  return found;
}

int FindLastText(std::string_view s, std::string_view sought, bool ignoreCase) {
  if (sought.empty()) return s.empty() ? -1 : 1;
  int found = -1;
  ForEachMatch(s, sought, ignoreCase, [&](std::size_t p) {
    found = static_cast<int>(p) + 1;
    return true;
  });
  return found;
}

Text RemoveAllSpaces(std::string_view s) {
  Text kept;
  kept.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    unsigned char byte = ByteAt(s, i);
    if (IsLeadByte(byte) && i + 1 < s.size()) {
      bool fullWidthSpace = byte == 0xA1 && ByteAt(s, i + 1) == 0xA1;
      if (!fullWidthSpace) kept.append(s.substr(i, 2));
      i += 2;
      continue;
    }
    if (byte != ' ') kept.push_back(static_cast<char>(byte));
    ++i;
  }
  return kept;
}

TextList SplitText(std::string_view s, std::string_view separator) {
  TextList pieces;
  if (s.empty()) return pieces;
  if (separator.empty()) {
    pieces.emplace_back(s);
    return pieces;
  }
  std::size_t pieceStart = 0;
  std::size_t i = 0;
  while (i < s.size()) {
    if (s.compare(i, separator.size(), separator) == 0) {
      pieces.emplace_back(s.substr(pieceStart, i - pieceStart));
      i += separator.size();
      pieceStart = i;
    } else {
      i += IsLeadByte(ByteAt(s, i)) ? 2 : 1;
    }
  }
  if (pieceStart < s.size()) pieces.emplace_back(s.substr(pieceStart));
  return pieces;
}

std::vector<unsigned char> TextToBytes(std::string_view s) {
  return std::vector<unsigned char>(s.begin(), s.end());
}

Text NumberToText(std::int32_t n) {
  char digits[16];
  auto result = std::to_chars(digits, digits + sizeof digits, n);
  return Text(digits, result.ptr);
}

}  // namespace tarnwell
