// Plain wanted names (no "*" or "?") for fuzzy matching: a wanted name
// matches a file name when, ignoring case, it occurs anywhere in it, starting
// at a character (never on the trail byte of a two-byte character). All names
// go into one Aho-Corasick automaton, so a file name is read once, one state
// step per byte (plus the fall-backs, which the steps bound), however many
// names there are; only occurrences add work beyond that.
#pragma once

#include <array>
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
  struct State {
    std::uint32_t edgeStart = 0;
    std::uint32_t edgeCount = 0;
    std::uint32_t fail = kRoot;
    std::uint32_t dictionary = kRoot;  // nearest shorter suffix state that ends a name
    std::uint32_t depth = 0;
    std::uint32_t outputStart = 0;
    std::uint32_t outputCount = 0;
  };

  std::uint32_t Step(std::uint32_t state, unsigned char byte, std::uint64_t& work) const;
  std::uint32_t Edge(const State& state, unsigned char byte) const;  // kRoot when there is none

  std::vector<State> states_;
  std::vector<unsigned char> edgeBytes_;  // per state, sorted
  std::vector<std::uint32_t> edgeTargets_;
  std::vector<std::uint32_t> outputs_;
  std::array<std::uint32_t, 256> rootNext_{};  // the root's steps, one lookup each
};

template <class Found>
void FuzzyNames::Match(std::string_view foldedName, const std::vector<std::uint8_t>& starts, std::uint64_t& work,
                       Found found) const {
  std::uint32_t state = kRoot;
  for (std::size_t i = 0; i < foldedName.size(); ++i) {
    state = Step(state, static_cast<unsigned char>(foldedName[i]), work);
    std::uint32_t ending = states_[state].outputCount != 0 ? state : states_[state].dictionary;
    while (ending != kRoot) {
      const State& end = states_[ending];
      ++work;
      if (starts[i + 1] && starts[i + 1 - end.depth]) {
        for (std::uint32_t k = 0; k < end.outputCount; ++k) found(outputs_[end.outputStart + k]);
      }
      ending = end.dictionary;
    }
  }
}

}  // namespace tarnwell
