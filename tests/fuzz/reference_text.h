// Plain reference versions of the text primitives, for the fuzz targets to
// compare the program's with: byte loops over the characters of a text, each
// written the way the rules read rather than the way the program runs them.
// A byte of 0x80 or more followed by a digit, a byte 0x81-0xFE and a digit
// starts a four-byte character; any other byte of 0x80 or more starts a
// two-byte character (the next byte is its trail, whatever it is); a lead
// byte at the very end stands alone.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell::fuzz {

inline bool RefIsLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }
inline bool RefIsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool RefIsThirdOfFour(char c) { return static_cast<unsigned char>(c) >= 0x81 && static_cast<unsigned char>(c) <= 0xFE; }

// The length of the character that starts at byte i of s.
inline std::size_t RefCharacterLength(std::string_view s, std::size_t i) {
  std::string_view rest = s.substr(i);
  if (!RefIsLead(rest[0]) || rest.size() == 1) return 1;
  if (rest.size() >= 4 && RefIsDigit(rest[1]) && RefIsThirdOfFour(rest[2]) && RefIsDigit(rest[3])) return 4;
  return 2;
}

inline char RefLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `part` of a text (starting on a character of it) equals `sought`:
// with ignoreCase an ASCII letter that is a character of its own matches
// either case; the bytes of longer characters must be equal.
inline bool RefSameAt(std::string_view part, std::string_view sought, bool ignoreCase) {
  if (part.size() != sought.size()) return false;
  for (std::size_t i = 0; i < part.size(); i += RefCharacterLength(part, i)) {
    if (std::size_t length = RefCharacterLength(part, i); length > 1) {
      if (part.substr(i, length) != sought.substr(i, length)) return false;
    } else if (ignoreCase ? RefLower(part[i]) != RefLower(sought[i]) : part[i] != sought[i]) {
      return false;
    }
  }
  return true;
}

// 1-based position of the first (or last) occurrence of sought that starts
// on a character of s, or -1.
inline int RefFind(std::string_view s, std::string_view sought, bool ignoreCase, bool last) {
  if (sought.empty()) return s.empty() ? -1 : 1;
  int found = -1;
  for (std::size_t i = 0; i < s.size(); i += RefCharacterLength(s, i)) {
    if (RefSameAt(s.substr(i, sought.size()), sought, ignoreCase)) {
      found = static_cast<int>(i) + 1;
      if (!last) break;
    }
  }
  return found;
}

inline std::string RefLeft(std::string_view s, int count) {
  std::string left;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (static_cast<long long>(i) < count) left.push_back(s[i]);
  }
  return left;
}

inline std::string RefRight(std::string_view s, int count) {
  std::string right;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (static_cast<long long>(s.size() - i) <= count) right.push_back(s[i]);
  }
  return right;
}

inline std::string RefRemoveSpaces(std::string_view s) {
  std::string kept;
  for (std::size_t i = 0; i < s.size(); i += RefCharacterLength(s, i)) {
    std::string_view character = s.substr(i, RefCharacterLength(s, i));
    if (character != " " && character != "\xA1\xA1") kept.append(character);
  }
  return kept;
}

// The pieces between separators: each piece ends at the first separator
// found from its start, and a separator at the very end leaves no last piece.
inline std::vector<std::string> RefSplit(std::string_view s, std::string_view separator) {
  std::vector<std::string> pieces;
  if (s.empty()) return pieces;
  if (separator.empty()) return {std::string(s)};
  std::string_view rest = s;
  while (!rest.empty()) {
    int found = RefFind(rest, separator, false, false);
    if (found == -1) {
      pieces.emplace_back(rest);
      break;
    }
    pieces.emplace_back(rest.substr(0, static_cast<std::size_t>(found) - 1));
    rest.remove_prefix(static_cast<std::size_t>(found) - 1 + separator.size());
  }
  return pieces;
}

}  // namespace tarnwell::fuzz
