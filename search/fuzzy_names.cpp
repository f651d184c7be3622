#include "search/fuzzy_names.h"

#include <algorithm>
#include <deque>
#include <utility>

namespace tarnwell {

FuzzyNames::FuzzyNames(const TextList& folded, const std::vector<std::uint32_t>& indices) {
  // The trie first, with children in growable lists.
  std::vector<std::vector<std::pair<unsigned char, std::uint32_t>>> children(1);
  std::vector<std::vector<std::uint32_t>> ends(1);
  states_.resize(1);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    std::uint32_t state = kRoot;
    for (char c : folded[i]) {
      auto byte = static_cast<unsigned char>(c);
      auto& list = children[state];
      auto it = std::find_if(list.begin(), list.end(), [&](const auto& edge) { return edge.first == byte; });
      if (it != list.end()) {
        state = it->second;
        continue;
      }
      auto next = static_cast<std::uint32_t>(states_.size());
      list.emplace_back(byte, next);
      states_.emplace_back();
      states_.back().depth = states_[state].depth + 1;
      children.emplace_back();
      ends.emplace_back();
      state = next;
    }
    ends[state].push_back(indices[i]);
  }

  // Flat, sorted edge arrays and the output lists.
  for (std::size_t s = 0; s < states_.size(); ++s) {
    auto& list = children[s];
    std::sort(list.begin(), list.end());
    states_[s].edgeStart = static_cast<std::uint32_t>(edgeBytes_.size());
    states_[s].edgeCount = static_cast<std::uint32_t>(list.size());
    for (const auto& [byte, target] : list) {
      edgeBytes_.push_back(byte);
      edgeTargets_.push_back(target);
    }
    states_[s].outputStart = static_cast<std::uint32_t>(outputs_.size());
    states_[s].outputCount = static_cast<std::uint32_t>(ends[s].size());
    outputs_.insert(outputs_.end(), ends[s].begin(), ends[s].end());
  }
  for (const auto& [byte, target] : children[kRoot]) rootNext_[byte] = target;

  // Fall-back and dictionary links, breadth first so that shorter states are done first.
  std::deque<std::uint32_t> queue;
  for (const auto& edge : children[kRoot]) queue.push_back(edge.second);
  while (!queue.empty()) {
    std::uint32_t s = queue.front();
    queue.pop_front();
    for (const auto& [byte, target] : children[s]) {
      std::uint32_t fallback = states_[s].fail;
      // The longest proper suffix of target's text that is in the trie.
      while (fallback != kRoot && Edge(states_[fallback], byte) == kRoot) fallback = states_[fallback].fail;
      std::uint32_t fail = fallback == kRoot ? rootNext_[byte] : Edge(states_[fallback], byte);
      states_[target].fail = fail;
      states_[target].dictionary = states_[fail].outputCount != 0 ? fail : states_[fail].dictionary;
      queue.push_back(target);
    }
  }
}

std::uint32_t FuzzyNames::Edge(const State& state, unsigned char byte) const {
  auto first = edgeBytes_.begin() + state.edgeStart;
  auto last = first + state.edgeCount;
  if (state.edgeCount <= 8) {
    for (auto it = first; it != last; ++it) {
      if (*it == byte) return edgeTargets_[static_cast<std::size_t>(it - edgeBytes_.begin())];
    }
    return kRoot;
  }
  auto it = std::lower_bound(first, last, byte);
  if (it == last || *it != byte) return kRoot;
  return edgeTargets_[static_cast<std::size_t>(it - edgeBytes_.begin())];
}

std::uint32_t FuzzyNames::Step(std::uint32_t state, unsigned char byte, std::uint64_t& work) const {
  for (;;) {
    ++work;
    if (state == kRoot) return rootNext_[byte];
    std::uint32_t next = Edge(states_[state], byte);
    if (next != kRoot) return next;
    state = states_[state].fail;
  }
}

}  // namespace tarnwell
