// Plain wanted names (no "*" or "?") for fuzzy matching: a wanted name
// matches a file name when, ignoring case, it occurs anywhere in it, starting
// and ending at a character boundary (never inside a character).
//
// Each name is known by its key: its last eight bytes (all of a shorter
// name). A name can end at a place in a file name only if the bytes before
// that place are its key, so a file name is read once, and at every byte the
// key of each key length is looked for: first in a Bloom filter that stays
// in cache, then, on the rare pass, in a table of the names with that key,
// which are compared whole. The lookups at one byte do not wait for those at
// the byte before, and none grows with the number of names. Only where more
// than a few names share one key does the file name go through an
// Aho-Corasick automaton of all names instead, whose steps are bounded by
// the length of the file name too.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/text/text.h"

namespace tarnwell {

class FuzzyNames {
 public:
  // Entry i of `folded` is the case-folded wanted name with index indices[i].
  FuzzyNames(const TextList& folded, const std::vector<std::uint32_t>& indices);

  // Calls found(index) for every occurrence of a wanted name in the folded
  // file name that starts and ends on a character boundary (`starts` as
  // FoldNameCase gives it); a name occurring twice is reported twice, and an
  // occurrence can be reported twice when the file name meets a shared key.
  template <class Found>
  void Match(std::string_view foldedName, const std::vector<std::uint8_t>& starts, Found found) const;

 private:
  static constexpr std::uint32_t kRoot = 0;
  // How a state finds its next state. The states near the root have many
  // children and are where a walk over a name spends most steps, so they get
  // a full row of 256 next states with the fall-backs already followed; the
  // deep ones mostly have one child, kept in the state itself.
  enum Kind : std::uint8_t { Leaf, Single, Sparse, Dense };
  struct State {
    std::uint32_t fail = kRoot;
    std::uint32_t dictionary = kRoot;  // nearest shorter suffix state that ends a name
    std::uint32_t depth = 0;
    std::uint32_t next = 0;            // Single: the child; Sparse: first edge; Dense: row
    std::uint16_t edgeCount = 0;
    Kind kind = Leaf;
    unsigned char singleByte = 0;
    bool endsName = false;
  };

  // The names whose key is `key` of `length` bytes; they are distinct_[first, first + count).
  struct KeyGroup {
    std::uint64_t key;
    std::uint32_t length;
    std::uint32_t first;
    std::uint32_t count;
  };
  // One text of the wanted names, with the indices of the names that are it.
  struct Distinct {
    std::uint32_t textStart;
    std::uint32_t textLength;
    std::uint32_t outputStart;  // into distinctOutputs_
    std::uint32_t outputCount;
  };
  // More names than this under one key go through the automaton.
  static constexpr std::uint32_t kMaxGroup = 8;

  void BuildAutomaton(const TextList& folded, const std::vector<std::uint32_t>& indices);
  template <class Found>
  void MatchWithAutomaton(std::string_view foldedName, const std::vector<std::uint8_t>& starts, Found found) const;
  std::uint32_t Step(std::uint32_t state, unsigned char byte) const;
  static std::uint64_t KeyHash(std::uint64_t key, unsigned length);
  bool FilterHolds(std::uint64_t hash) const;
  const KeyGroup* FindGroup(std::uint64_t key, unsigned length, std::uint64_t hash) const;

  std::vector<State> states_;
  std::vector<unsigned char> edgeBytes_;  // of Sparse states, sorted per state
  std::vector<std::uint32_t> edgeTargets_;
  std::vector<std::uint32_t> rows_;       // of Dense states, 256 each
  std::vector<std::uint32_t> outputStart_;  // per state, into outputs_; one more at the end
  std::vector<std::uint32_t> outputs_;

  // The keys: a Bloom filter whose two bits of a key lie in one word, the
  // lengths (bit q - 1 for q bytes) that keys have, and the table of groups.
  std::vector<std::uint64_t> filter_;
  unsigned filterShift_ = 64;
  unsigned keyLengths_ = 0;
  std::vector<KeyGroup> groups_;
  std::vector<std::uint32_t> groupSlots_;  // by key hash: group number + 1; 0 marks a free slot
  std::vector<Distinct> distinct_;         // in key group order
  std::string texts_;
  std::vector<std::uint32_t> distinctOutputs_;
};

template <class Found>
void FuzzyNames::Match(std::string_view foldedName, const std::vector<std::uint8_t>& starts, Found found) const {
  // The last eight bytes read, the latest in the top byte: the last q of
  // them are the top q bytes.
  std::uint64_t window = 0;
  for (std::size_t i = 0; i < foldedName.size(); ++i) {
    window = (window >> 8) | (std::uint64_t{static_cast<unsigned char>(foldedName[i])} << 56);
    const std::size_t end = i + 1;
    unsigned read = static_cast<unsigned>(std::min<std::size_t>(end, 8));
    for (unsigned lengths = keyLengths_ & ((1u << read) - 1); lengths != 0; lengths &= lengths - 1) {
      unsigned length = static_cast<unsigned>(std::countr_zero(lengths)) + 1;
      std::uint64_t key = window >> (64 - 8 * length);
      std::uint64_t hash = KeyHash(key, length);
      if (!FilterHolds(hash)) continue;
      const KeyGroup* group = FindGroup(key, length, hash);
      if (group == nullptr) continue;
      if (group->count > kMaxGroup) {
        MatchWithAutomaton(foldedName, starts, found);
        return;
      }
      if (!starts[end]) continue;
      for (std::uint32_t k = group->first; k < group->first + group->count; ++k) {
        const Distinct& name = distinct_[k];
        if (name.textLength > end || !starts[end - name.textLength]) continue;
        if (foldedName.substr(end - name.textLength, name.textLength) !=
            std::string_view(texts_).substr(name.textStart, name.textLength)) {
          continue;
        }
        for (std::uint32_t o = name.outputStart; o < name.outputStart + name.outputCount; ++o) {
          found(distinctOutputs_[o]);
        }
      }
    }
  }
}

template <class Found>
void FuzzyNames::MatchWithAutomaton(std::string_view foldedName, const std::vector<std::uint8_t>& starts,
                                    Found found) const {
  std::uint32_t state = kRoot;
  for (std::size_t i = 0; i < foldedName.size(); ++i) {
    state = Step(state, static_cast<unsigned char>(foldedName[i]));
    std::uint32_t ending = states_[state].endsName ? state : states_[state].dictionary;
    while (ending != kRoot) {
      const State& end = states_[ending];
      if (starts[i + 1] && starts[i + 1 - end.depth]) {
        for (std::uint32_t k = outputStart_[ending]; k < outputStart_[ending + 1]; ++k) found(outputs_[k]);
      }
      ending = end.dictionary;
    }
  }
}

inline std::uint32_t FuzzyNames::Step(std::uint32_t state, unsigned char byte) const {
  for (;;) {
    const State& current = states_[state];
    switch (current.kind) {
      case Dense:
        return rows_[current.next * 256 + byte];
      case Single:
        if (current.singleByte == byte) return current.next;
        break;
      case Sparse:
        for (std::uint32_t e = current.next; e < current.next + current.edgeCount; ++e) {
          if (edgeBytes_[e] == byte) return edgeTargets_[e];
        }
        break;
      case Leaf:
        break;
    }
    state = current.fail;
  }
}

inline std::uint64_t FuzzyNames::KeyHash(std::uint64_t key, unsigned length) {
  std::uint64_t hash = (key + length * 0x9E3779B97F4A7C15ull) * 0xBF58476D1CE4E5B9ull;
  hash ^= hash >> 31;
  return hash * 0x94D049BB133111EBull;
}

inline bool FuzzyNames::FilterHolds(std::uint64_t hash) const {
  std::uint64_t bits = (std::uint64_t{1} << (hash & 63)) | (std::uint64_t{1} << ((hash >> 6) & 63));
  return (filter_[hash >> filterShift_] & bits) == bits;
}

inline const FuzzyNames::KeyGroup* FuzzyNames::FindGroup(std::uint64_t key, unsigned length,
                                                         std::uint64_t hash) const {
  std::size_t mask = groupSlots_.size() - 1;
  // The filter took the hash's top and bottom bits; the table takes the middle ones.
  for (std::size_t slot = (hash >> 12) & mask; groupSlots_[slot] != 0; slot = (slot + 1) & mask) {
    const KeyGroup& group = groups_[groupSlots_[slot] - 1];
    if (group.key == key && group.length == length) return &group;
  }
  return nullptr;
}

}  // namespace tarnwell
