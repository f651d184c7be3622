#include "search/match/name_case.h"

#include <algorithm>
#include <cstring>

namespace tarnwell {
namespace {

// The two-byte letters with a case partner in GBK: the trail byte of a
// lower-case letter in [lowFirst, lowFirst + count) maps onto the upper-case
// one at the same offset from upFirst, under the same lead byte.
struct CaseRange {
  unsigned char lead;
  unsigned char lowFirst;
  unsigned char upFirst;
  unsigned char count;
};

constexpr CaseRange kCaseRanges[] = {
    {0xA3, 0xE1, 0xC1, 26},  // full-width Latin ａ..ｚ -> Ａ..Ｚ
    {0xA6, 0xC1, 0xA1, 24},  // Greek α..ω -> Α..Ω
    {0xA7, 0xD1, 0xA1, 33},  // Cyrillic а..я (with ё) -> А..Я (with Ё)
    {0xA2, 0xA1, 0xF1, 10},  // Roman numerals ⅰ..ⅹ -> Ⅰ..Ⅹ (Ⅺ and Ⅻ have no small form in GBK)
};

unsigned char FoldTrail(unsigned char lead, unsigned char trail) {
  for (const CaseRange& range : kCaseRanges) {
    if (lead == range.lead && trail >= range.lowFirst && trail < range.lowFirst + range.count) {
      return static_cast<unsigned char>(range.upFirst + (trail - range.lowFirst));
    }
  }
  return trail;
}

constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x80 * kEveryByte;

// Folds eight bytes that are all ASCII at once: in each byte the high bit of
// byte + (0x80 - 'a') is set from 'a' on, that of byte + (0x80 - 'z' - 1)
// after 'z'; neither sum carries into the next byte. The letters between
// lose 0x20.
std::uint64_t FoldAsciiWord(std::uint64_t word) {
  std::uint64_t fromA = word + (0x80 - 'a') * kEveryByte;
  std::uint64_t afterZ = word + (0x80 - 'z' - 1) * kEveryByte;
  return word - ((fromA & ~afterZ & kHighBits) >> 2);
}

}  // namespace

void FoldNameCase(std::string_view name, Text& folded, std::vector<std::uint8_t>* starts) {
  folded.resize(name.size());
  if (starts) starts->assign(name.size() + 1, 1);
  std::size_t i = 0;
  while (i < name.size()) {
    // Most names are mostly ASCII: eight such bytes go at once.
    if (i + 8 <= name.size()) {
      std::uint64_t word;
      std::memcpy(&word, name.data() + i, 8);
      if ((word & kHighBits) == 0) {
        word = FoldAsciiWord(word);
        std::memcpy(folded.data() + i, &word, 8);
        i += 8;
        continue;
      }
    }
    auto byte = static_cast<unsigned char>(name[i]);
    std::size_t length = CharacterLength(name, i);
    if (length == 2) {
      auto trail = static_cast<unsigned char>(name[i + 1]);
      folded[i] = static_cast<char>(byte);
      // Only lead bytes A2, A3, A6 and A7 carry letters with a case.
      folded[i + 1] = static_cast<char>((byte >= 0xA2 && byte <= 0xA7) ? FoldTrail(byte, trail) : trail);
    } else if (length == 4) {
      std::memcpy(folded.data() + i, name.data() + i, 4);  // no character beyond GBK folds
    } else {
      folded[i] = static_cast<char>((byte >= 'a' && byte <= 'z') ? byte - 'a' + 'A' : byte);
    }
    if (starts) std::fill_n(starts->begin() + static_cast<std::ptrdiff_t>(i) + 1, length - 1, std::uint8_t{0});
    i += length;
  }
}

Text FoldedNameCase(std::string_view name) {
  Text folded;
  FoldNameCase(name, folded);
  return folded;
}

bool HoldsPathSeparator(std::string_view name) {
  std::size_t i = 0;
  while (i < name.size()) {
    auto byte = static_cast<unsigned char>(name[i]);
    if (byte == '\\' || byte == '/') return true;
    i += CharacterLength(name, i);
  }
  return false;
}

}  // namespace tarnwell
