// Plain wanted names (no "*" or "?") for fuzzy matching: a wanted name
// matches a file name when, ignoring case, it occurs anywhere in it, starting
// at a character (never on the trail byte of a two-byte character). All names
// go into one Aho-Corasick automaton, so a file name is read once, one state
// step per byte (plus the fall-backs, which the steps bound), however many
// names there are; only occurrences add work beyond that.
#pragma once

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

  std::vector<State> states_;
  std::vector<unsigned char> edgeBytes_;  // of Sparse states, sorted per state
  std::vector<std::uint32_t> edgeTargets_;
  std::vector<std::uint32_t> rows_;       // of Dense states, 256 each
  std::vector<std::uint32_t> outputStart_;  // per state, into outputs_; one more at the end
  std::vector<std::uint32_t> outputs_;
};

template <class Found>
void FuzzyNames::Match(std::string_view foldedName, const std::vector<std::uint8_t>& starts, std::uint64_t& work,
                       Found found) const {
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

}  // namespace tarnwell
