#include "platform/text/text.h"

#include <algorithm>
#include <charconv>

namespace tarnwell {
namespace {

unsigned char ByteAt(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

unsigned char FoldAscii(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// `at` is a character boundary of s. With ignoreCase only ASCII letters that
// are characters of their own fold: the other bytes of a character must be
// equal even when they look like a letter.
bool MatchesAt(std::string_view s, std::size_t at, std::string_view sought, bool ignoreCase) {
  std::size_t k = 0;
  while (k < sought.size()) {
    std::size_t length = CharacterLength(s, at + k);
    if (length == 1 && ignoreCase) {
      if (FoldAscii(ByteAt(s, at + k)) != FoldAscii(ByteAt(sought, k))) return false;
    } else {
      std::size_t compared = std::min(length, sought.size() - k);
      if (s.compare(at + k, compared, sought, k, compared) != 0) return false;
    }
    k += length;
  }
  return true;
}

// Calls visit(position) for every character boundary at which `sought` fits,
// in ascending order, until visit returns false. Positions are 0-based here.
template <class Visit>
void ForEachMatch(std::string_view s, std::string_view sought, bool ignoreCase, Visit visit) {
  for (std::size_t p = 0; p + sought.size() <= s.size(); p += CharacterLength(s, p)) {
    if (MatchesAt(s, p, sought, ignoreCase) && !visit(p)) return;
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

namespace {

// The 1-based position of the first (or last) match, or -1.
int FindMatch(std::string_view s, std::string_view sought, bool ignoreCase, bool last) {
  if (sought.empty()) return s.empty() ? -1 : 1;
  int found = -1;
  ForEachMatch(s, sought, ignoreCase, [&](std::size_t p) {
    found = static_cast<int>(p) + 1;
    return last;
  });
  return found;
}

}  // namespace

int FindText(std::string_view s, std::string_view sought, bool ignoreCase) {
  return FindMatch(s, sought, ignoreCase, false);
}

int FindLastText(std::string_view s, std::string_view sought, bool ignoreCase) {
  return FindMatch(s, sought, ignoreCase, true);
}

Text RemoveAllSpaces(std::string_view s) {
  Text kept;
  kept.reserve(s.size());
  for (std::size_t i = 0, length = 0; i < s.size(); i += length) {
    length = CharacterLength(s, i);
    std::string_view character = s.substr(i, length);
    if (character != " " && character != "\xA1\xA1") kept.append(character);  // A1 A1: the full-width space
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
      i += CharacterLength(s, i);
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
