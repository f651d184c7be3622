// Plain wanted names (no "*" or "?") for fuzzy matching: a wanted name
// matches a file name when, ignoring case, it occurs anywhere in it, starting
// at a character (never on the trail byte of a two-byte character). All names
// go into one Aho-Corasick automaton, so a file name is read once, one state
// step per byte (plus the fall-backs, which the steps bound), however many
// names there are; only occurrences add work beyond that.
//
// A step of the automaton waits for the step before, and with many names the
// automaton outgrows the processor's caches, so a step can cost a cache
// miss. A prefilter in front of it keeps most file names from reaching it: a
// Bloom filter over each name's last (up to) eight bytes. A name can occur in
// a file name only where the file name holds those bytes, so a file name
// none of whose byte runs is in the filter holds no name. The filter stays in
// cache, and its probes, one per byte and length of those keys, do not wait
// for each other.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/text.h"

namespace tarnwell {

class FuzzyNames {
 public:
  // Entry i of `folded` is the case-folded wanted name with index indices[i].
  FuzzyNames(const TextList& folded, const std::vector<std::uint32_t>& indices);

  // Calls found(index) for every occurrence of a wanted name in the folded
  // file name that starts and ends on a character boundary (`starts` as
  // FoldNameCase gives it); a name occurring twice is reported twice. Adds the
  // state steps, fall-backs and occurrences visited to `work`.
  template <class Found>
  void Match(std::string_view foldedName, const std::vector<std::uint8_t>& starts, std::uint64_t& work,
             Found found) const;

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

  std::uint32_t Step(std::uint32_t state, unsigned char byte, std::uint64_t& work) const;
  // False only when no wanted name occurs in the name.
  bool MayOccur(std::string_view foldedName, std::uint64_t& work) const;
  void AddToFilter(std::uint64_t key, unsigned length);
  bool FilterHolds(std::uint64_t key, unsigned length) const;
  static std::uint64_t FilterHash(std::uint64_t key, unsigned length);

  std::vector<State> states_;
  std::vector<unsigned char> edgeBytes_;  // of Sparse states, sorted per state
  std::vector<std::uint32_t> edgeTargets_;
  std::vector<std::uint32_t> rows_;       // of Dense states, 256 each
  std::vector<std::uint32_t> outputStart_;  // per state, into outputs_; one more at the end
  std::vector<std::uint32_t> outputs_;

  // The prefilter: words of a Bloom filter whose two bits of a key lie in one
  // word, and the lengths (bit q - 1 for q bytes) that the names' keys have.
  std::vector<std::uint64_t> filter_;
  unsigned filterShift_ = 64;
  unsigned keyLengths_ = 0;
};

template <class Found>
void FuzzyNames::Match(std::string_view foldedName, const std::vector<std::uint8_t>& starts, std::uint64_t& work,
                       Found found) const {
  if (!MayOccur(foldedName, work)) return;
  std::uint32_t state = kRoot;
  for (std::size_t i = 0; i < foldedName.size(); ++i) {
    state = Step(state, static_cast<unsigned char>(foldedName[i]), work);
    std::uint32_t ending = states_[state].endsName ? state : states_[state].dictionary;
    while (ending != kRoot) {
      const State& end = states_[ending];
      ++work;
      if (starts[i + 1] && starts[i + 1 - end.depth]) {
        for (std::uint32_t k = outputStart_[ending]; k < outputStart_[ending + 1]; ++k) found(outputs_[k]);
      }
      ending = end.dictionary;
    }
  }
}

inline std::uint32_t FuzzyNames::Step(std::uint32_t state, unsigned char byte, std::uint64_t& work) const {
  for (;;) {
    ++work;
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

inline std::uint64_t FuzzyNames::FilterHash(std::uint64_t key, unsigned length) {
  std::uint64_t hash = (key + length * 0x9E3779B97F4A7C15ull) * 0xBF58476D1CE4E5B9ull;
  hash ^= hash >> 31;
  return hash * 0x94D049BB133111EBull;
}

inline bool FuzzyNames::FilterHolds(std::uint64_t key, unsigned length) const {
  std::uint64_t hash = FilterHash(key, length);
  std::uint64_t bits = (std::uint64_t{1} << (hash & 63)) | (std::uint64_t{1} << ((hash >> 6) & 63));
  return (filter_[hash >> filterShift_] & bits) == bits;
}

inline bool FuzzyNames::MayOccur(std::string_view foldedName, std::uint64_t& work) const {
  if (filter_.empty()) return true;
  // The last eight bytes read, the latest in the top byte: the last q of
  // them are the top q bytes.
  std::uint64_t window = 0;
  for (std::size_t i = 0; i < foldedName.size(); ++i) {
    window = (window >> 8) | (std::uint64_t{static_cast<unsigned char>(foldedName[i])} << 56);
    unsigned read = static_cast<unsigned>(std::min<std::size_t>(i + 1, 8));
    for (unsigned lengths = keyLengths_ & ((1u << read) - 1); lengths != 0; lengths &= lengths - 1) {
      unsigned length = static_cast<unsigned>(std::countr_zero(lengths)) + 1;
      ++work;
      if (FilterHolds(window >> (64 - 8 * length), length)) return true;
    }
  }
  return false;
}

}  // namespace tarnwell
