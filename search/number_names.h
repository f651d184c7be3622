// Wanted names made only of ASCII digits, matched by number: such a name
// matches a file whose name, before its first ".", holds the same number as
// a whole run of digits (no digit right before or after it), leading zeros
// ignored on both sides. So "12" finds IMG_0012.JPG and 20260501_000012.jpg
// but not IMG_0120 or IMG_12345, and "0" finds a run of zeros. Numbers are
// compared as digit strings, so runs longer than any integer work too.
//
// Each run of digits of a file name costs one hash lookup of its value,
// whatever the number of wanted names. Digits are looked for character by
// character: the digit bytes inside a four-byte character are no digits.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/text.h"

namespace tarnwell {

class NumberNames {
 public:
  // Whether `name` is a number under this rule: not empty, ASCII digits only.
  static bool IsNumber(std::string_view name);

  // Adds the wanted name with index `index`, which IsNumber.
  void Add(std::string_view name, std::uint32_t index);
  bool Empty() const { return indices_.empty(); }

  // Calls found(index) for each wanted number held by a run of the file
  // name; a number held twice is reported twice.
  template <class Found>
  void Match(std::string_view fileName, Found found) const;

 private:
  // The digits without their leading zeros; "0" for zeros only.
  static std::string_view ValueOf(std::string_view digits);
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  template <class Found>
  void Report(std::string_view run, Found& found) const;

  struct ViewHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  std::unordered_map<std::string, std::vector<std::uint32_t>, ViewHash, std::equal_to<>> indices_;
  std::size_t longestValue_ = 0;
};

template <class Found>
void NumberNames::Report(std::string_view run, Found& found) const {
  const std::string_view value = ValueOf(run);
  if (value.size() > longestValue_) return;
  const auto entry = indices_.find(value);
  if (entry == indices_.end()) return;
  for (std::uint32_t index : entry->second) found(index);
}

template <class Found>
void NumberNames::Match(std::string_view fileName, Found found) const {
  if (indices_.empty()) return;
  std::size_t runStart = std::string_view::npos;
  for (std::size_t i = 0; i < fileName.size();) {
    if (IsDigit(fileName[i])) {
      if (runStart == std::string_view::npos) runStart = i;
      ++i;
      continue;
    }
    if (runStart != std::string_view::npos) {
      Report(fileName.substr(runStart, i - runStart), found);
      runStart = std::string_view::npos;
    }
    if (fileName[i] == '.') return;
    i += CharacterLength(fileName, i);
  }
  if (runStart != std::string_view::npos) Report(fileName.substr(runStart), found);
}

}  // namespace tarnwell
