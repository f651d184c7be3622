// Plain wanted names (no "*" or "?") for exact matching. A file name matches
// the wanted name w when, ignoring case, it is w or starts with w + ".". So
// the candidates of a file name are the whole name and each part before one
// of its dots. A candidate whose length no wanted name has is passed over;
// any other costs one hash of its bytes, eight at a time, and one probe,
// whatever the number of wanted names.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/text/text.h"

namespace tarnwell {

class ExactNames {
 public:
  // Builds the table from case-folded wanted names; entry i of `folded` is
  // the wanted name with index indices[i]. Equal names keep all their indices.
  ExactNames(const TextList& folded, const std::vector<std::uint32_t>& indices);

  // Calls found(index) for each wanted name that the case-folded file name
  // matches.
  template <class Found>
  void Match(std::string_view foldedName, Found found) const;

 private:
  struct Entry {
    std::uint64_t hash;
    std::uint32_t textStart;
    std::uint32_t textLength;
    std::uint32_t indexStart;
    std::uint32_t indexCount;
  };
  static std::uint64_t HashOf(std::string_view text);
  bool LengthWanted(std::size_t length) const {
    return length < kLengthBits ? ((lengths_[length / 64] >> (length % 64)) & 1) != 0 : longNames_;
  }
  // The entry holding `candidate`, or nullptr.
  const Entry* Find(std::string_view candidate) const;

  // Bit n: some wanted name is n bytes long (for n below kLengthBits).
  static constexpr std::size_t kLengthBits = 256;
  std::uint64_t lengths_[kLengthBits / 64] = {};
  bool longNames_ = false;  // some wanted name is kLengthBits bytes or longer

  std::vector<Entry> entries_;
  std::vector<std::uint32_t> slots_;  // entry number + 1; 0 marks a free slot
  std::string texts_;
  std::vector<std::uint32_t> indices_;
};

template <class Found>
void ExactNames::Match(std::string_view foldedName, Found found) const {
  if (entries_.empty()) return;
  auto report = [&](std::string_view candidate) {
    if (!LengthWanted(candidate.size())) return;
    if (const Entry* entry = Find(candidate)) {
      for (std::uint32_t k = 0; k < entry->indexCount; ++k) found(indices_[entry->indexStart + k]);
    }
  };
  // Every "." that is a character of its own ends a candidate. A valid GBK
  // trail byte is never a ".", but a lead byte takes the byte after it
  // whatever that is, so a "." right after one is part of its character.
  for (std::size_t i = 0; i < foldedName.size(); i += CharacterLength(foldedName, i)) {
    if (foldedName[i] == '.') report(foldedName.substr(0, i));
  }
  report(foldedName);
}

}  // namespace tarnwell
