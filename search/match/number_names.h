// Wanted names made only of ASCII digits, matched by number: such a name
// matches a file whose name, before its first ".", holds the same number as
// a whole run of digits (no digit right before or after it), leading zeros
// ignored on both sides. So "12" finds IMG_0012.JPG and 20260501_000012.jpg
// but not IMG_0120 or IMG_12345, and "0" finds a run of zeros. Runs longer
// than any integer work too: they are compared as digit strings.
//
// Each run of digits of a file name costs one lookup of its value, whatever
// the number of wanted names: values of up to 19 digits are read into an
// integer while the name is scanned and looked up in an open-addressing
// table behind a small bit filter that turns most runs away at once (most
// runs of a tree are no wanted number). Digits are looked for character by
// character: the digit bytes inside a four-byte character are no digits.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/text/text.h"

namespace tarnwell {

class NumberNames {
 public:
  // Whether `name` is a number under this rule: not empty, ASCII digits only.
  static bool IsNumber(std::string_view name);

  // Adds the wanted name with index `index`, which IsNumber.
  void Add(std::string_view name, std::uint32_t index);
  bool Empty() const { return count_ == 0; }

  // Calls found(index) for each wanted number held by a run of the file
  // name, the indices of one number in the order they were added; a number
  // held twice is reported twice.
  template <class Found>
  void Match(std::string_view fileName, Found found) const;

 private:
  // Values of up to this many significant digits fit an integer.
  static constexpr std::size_t kIntegerDigits = 19;
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  // The digits without their leading zeros; "0" for zeros only.
  static std::string_view ValueOf(std::string_view digits);

  // One slot of the table: the value plus one (0 marks a free slot) and the
  // first and last of its indices in entries_.
  struct Slot {
    std::uint64_t keyPlusOne = 0;
    std::uint32_t first = 0;
    std::uint32_t last = 0;
  };
  struct Entry {
    std::uint32_t index;
    std::uint32_t next;  // kNone at the last
  };
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
  static std::uint64_t Mix(std::uint64_t value) { return value * 0x9E3779B97F4A7C15ull; }

  void AddInteger(std::uint64_t value, std::uint32_t index);
  void Grow();
  template <class Found>
  void ReportInteger(std::uint64_t value, Found& found) const;
  template <class Found>
  void ReportLong(std::string_view value, Found& found) const;

  std::vector<Slot> slots_;             // a power of two in size, at most half full
  unsigned slotShift_ = 64;             // 64 - log2(slots_.size())
  std::vector<std::uint64_t> filter_;   // one bit per top 16 bits of Mix(value)
  std::vector<Entry> entries_;
  std::size_t used_ = 0;

  struct ViewHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  // Values longer than kIntegerDigits, by their digits.
  std::unordered_map<std::string, std::vector<std::uint32_t>, ViewHash, std::equal_to<>> longValues_;
  std::size_t longestValue_ = 0;
  std::size_t count_ = 0;
};

template <class Found>
void NumberNames::ReportInteger(std::uint64_t value, Found& found) const {
  const std::uint64_t mixed = Mix(value);
  const std::uint64_t bit = mixed >> 48;
  if ((filter_[bit >> 6] & (std::uint64_t{1} << (bit & 63))) == 0) return;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = static_cast<std::size_t>(mixed >> slotShift_);; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.keyPlusOne == 0) return;
    if (slot.keyPlusOne == value + 1) {
      for (std::uint32_t e = slot.first; e != kNone; e = entries_[e].next) found(entries_[e].index);
      return;
    }
  }
}

template <class Found>
void NumberNames::ReportLong(std::string_view value, Found& found) const {
  const auto entry = longValues_.find(value);
  if (entry == longValues_.end()) return;
  for (std::uint32_t index : entry->second) found(index);
}

template <class Found>
void NumberNames::Match(std::string_view fileName, Found found) const {
  if (count_ == 0) return;
  // The run being read: whether there is one, where its significant digits
  // start, how many there are, and their value while they fit.
  bool inRun = false;
  std::size_t significantStart = 0;
  std::size_t significant = 0;
  std::uint64_t value = 0;
  auto endRun = [&](std::size_t end) {
    inRun = false;
    if (significant > longestValue_) return;
    if (significant <= kIntegerDigits) {
      if (!slots_.empty()) ReportInteger(value, found);
    } else {
      ReportLong(fileName.substr(significantStart, end - significantStart), found);
    }
  };
  for (std::size_t i = 0; i < fileName.size();) {
    const char c = fileName[i];
    if (IsDigit(c)) {
      if (!inRun) {
        inRun = true;
        significant = 0;
        value = 0;
      }
      if (significant > 0 || c != '0') {  // leading zeros count for nothing
        if (significant == 0) significantStart = i;
        ++significant;
        if (significant <= kIntegerDigits) value = value * 10 + static_cast<std::uint64_t>(c - '0');
      }
      ++i;
      continue;
    }
    if (inRun) endRun(i);
    if (c == '.') return;
    i += CharacterLength(fileName, i);
  }
  if (inRun) endRun(fileName.size());
}

}  // namespace tarnwell
