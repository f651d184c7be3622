// Plain wanted names (no "*" or "?") for exact matching. A file name matches
// the wanted name w when, ignoring case, it is w or starts with w + ".". So
// the candidates of a file name are the whole name and each part before one
// of its dots; each candidate costs one hash probe, and the hash of every
// candidate comes from one pass over the name, whatever the number of wanted
// names.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/text.h"

namespace tarnwell {

class ExactNames {
 public:
  // Builds the table from case-folded wanted names; entry i of `folded` is
  // the wanted name with index indices[i]. Equal names keep all their indices.
  ExactNames(const TextList& folded, const std::vector<std::uint32_t>& indices);

  // Calls found(index) for each wanted name that the case-folded file name
  // matches. Adds the bytes hashed and the slots probed to `work`.
  template <class Found>
  void Match(std::string_view foldedName, std::uint64_t& work, Found found) const;

 private:
  struct Entry {
    std::uint64_t hash;
    std::uint32_t textStart;
    std::uint32_t textLength;
    std::uint32_t indexStart;
    std::uint32_t indexCount;
  };
  static constexpr std::uint64_t kHashStart = 14695981039346656037ull;
  static std::uint64_t HashStep(std::uint64_t hash, unsigned char byte) { return (hash ^ byte) * 1099511628211ull; }
  // The entry holding `candidate`, or nullptr.
  const Entry* Find(std::string_view candidate, std::uint64_t hash, std::uint64_t& work) const;

  std::vector<Entry> entries_;
  std::vector<std::uint32_t> slots_;  // entry number + 1; 0 marks a free slot
  std::string texts_;
  std::vector<std::uint32_t> indices_;
};

template <class Found>
void ExactNames::Match(std::string_view foldedName, std::uint64_t& work, Found found) const {
  if (entries_.empty()) return;
  auto report = [&](std::string_view candidate, std::uint64_t hash) {
    if (const Entry* entry = Find(candidate, hash, work)) {
      for (std::uint32_t k = 0; k < entry->indexCount; ++k) found(indices_[entry->indexStart + k]);
    }
  };
  std::uint64_t hash = kHashStart;
  for (std::size_t i = 0; i < foldedName.size(); ++i) {
    auto byte = static_cast<unsigned char>(foldedName[i]);
    // A "." is never the trail byte of a two-byte character, so every dot
    // ends a candidate.
    if (byte == '.') report(foldedName.substr(0, i), hash);
    hash = HashStep(hash, byte);
  }
  work += foldedName.size();
  report(foldedName, hash);
}

}  // namespace tarnwell
