#include "search/fuzzy_names.h"

#include <algorithm>
#include <deque>
#include <utility>

namespace tarnwell {
namespace {

// States with at least this many children get a full row.
constexpr std::size_t kDenseChildren = 6;
// At most this many rows (of 1 KB each), given to the states nearest the root.
constexpr std::size_t kMaxRows = 4096;

}  // namespace

FuzzyNames::FuzzyNames(const TextList& folded, const std::vector<std::uint32_t>& indices) {
  // The trie, with children in growable lists.
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

  // Breadth-first order: every state comes after its fall-back, which is shorter.
  std::vector<std::uint32_t> order{kRoot};
  for (std::size_t k = 0; k < order.size(); ++k) {
    for (const auto& edge : children[order[k]]) order.push_back(edge.second);
  }

  // Outputs, and each state's kind and edges.
  outputStart_.reserve(states_.size() + 1);
  for (std::size_t s = 0; s < states_.size(); ++s) {
    outputStart_.push_back(static_cast<std::uint32_t>(outputs_.size()));
    outputs_.insert(outputs_.end(), ends[s].begin(), ends[s].end());
    states_[s].endsName = !ends[s].empty();
  }
  outputStart_.push_back(static_cast<std::uint32_t>(outputs_.size()));
  std::size_t rows = 0;
  for (std::uint32_t s : order) {
    auto& list = children[s];
    std::sort(list.begin(), list.end());
    State& state = states_[s];
    state.edgeCount = static_cast<std::uint16_t>(std::min<std::size_t>(list.size(), 0xFFFF));
    if (s == kRoot || (list.size() >= kDenseChildren && rows < kMaxRows)) {
      state.kind = Dense;
      state.next = static_cast<std::uint32_t>(rows++);
    } else if (list.size() == 1) {
      state.kind = Single;
      state.singleByte = list[0].first;
      state.next = list[0].second;
    } else if (!list.empty()) {
      state.kind = Sparse;
      state.next = static_cast<std::uint32_t>(edgeBytes_.size());
      for (const auto& [byte, target] : list) {
        edgeBytes_.push_back(byte);
        edgeTargets_.push_back(target);
      }
    }
  }
  rows_.assign(rows * 256, kRoot);

  // Fall-backs, dictionary links and the rows, shorter states first, so that
  // whatever a state falls back to is complete already.
  std::uint64_t unused = 0;
  for (std::uint32_t s : order) {
    State& state = states_[s];
    if (state.kind == Dense) {
      std::uint32_t* row = &rows_[std::size_t{state.next} * 256];
      for (int byte = 0; byte < 256; ++byte) {
        row[byte] = s == kRoot ? kRoot : Step(state.fail, static_cast<unsigned char>(byte), unused);
      }
      for (const auto& [byte, target] : children[s]) row[byte] = target;
    }
    for (const auto& [byte, target] : children[s]) {
      // The longest proper suffix of the child's text that is in the trie.
      std::uint32_t fail = s == kRoot ? kRoot : Step(state.fail, byte, unused);
      states_[target].fail = fail;
      states_[target].dictionary = states_[fail].endsName ? fail : states_[fail].dictionary;
    }
  }
}

}  // namespace tarnwell
