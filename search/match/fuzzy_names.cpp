#include "search/match/fuzzy_names.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace tarnwell {
namespace {

// States with at least this many children get a full row.
constexpr std::size_t kDenseChildren = 6;
// At most this many rows (of 1 KB each), given to the states nearest the root.
constexpr std::size_t kMaxRows = 4096;
// Filter bits per key: about one probe in three thousand passes the filter
// without its key being one. At most 2^17 words (1 MB).
constexpr std::size_t kFilterBitsPerKey = 64;
constexpr std::size_t kMaxFilterWords = std::size_t{1} << 17;

}  // namespace

FuzzyNames::FuzzyNames(const TextList& folded, const std::vector<std::uint32_t>& indices) {
  // The distinct texts of the names (an empty name never matches), each with
  // its key: its last eight bytes, or all of a shorter one, the latest byte on top.
  struct Keyed {
    std::uint64_t key;
    std::uint32_t length;
    std::uint32_t first;  // into byText: the first name of this text
  };
  std::vector<std::uint32_t> byText(folded.size());
  std::iota(byText.begin(), byText.end(), 0u);
  std::sort(byText.begin(), byText.end(), [&](std::uint32_t a, std::uint32_t b) {
    int order = folded[a].compare(folded[b]);
    return order != 0 ? order < 0 : a < b;
  });
  std::vector<Keyed> keyed;
  for (std::uint32_t k = 0; k < byText.size(); ++k) {
    const Text& text = folded[byText[k]];
    if (text.empty() || (k > 0 && text == folded[byText[k - 1]])) continue;
    std::uint64_t window = 0;
    for (char c : text) window = (window >> 8) | (std::uint64_t{static_cast<unsigned char>(c)} << 56);
    auto length = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), 8));
    keyed.push_back({window >> (64 - 8 * length), length, k});
  }
  std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
    return a.length != b.length ? a.length < b.length : a.key < b.key;
  });

  // The filter, the groups of names that share a key and their table.
  std::size_t words = 64;
  while (words < kMaxFilterWords && words * 64 < keyed.size() * kFilterBitsPerKey) words *= 2;
  filter_.assign(words, 0);
  filterShift_ = 64 - static_cast<unsigned>(std::countr_zero(words));
  bool crowded = false;
  for (const Keyed& name : keyed) {
    if (groups_.empty() || groups_.back().key != name.key || groups_.back().length != name.length) {
      groups_.push_back({name.key, name.length, static_cast<std::uint32_t>(distinct_.size()), 0});
      std::uint64_t hash = KeyHash(name.key, name.length);
      filter_[hash >> filterShift_] |= (std::uint64_t{1} << (hash & 63)) | (std::uint64_t{1} << ((hash >> 6) & 63));
      keyLengths_ |= 1u << (name.length - 1);
    }
    crowded |= ++groups_.back().count > kMaxGroup;
    const Text& text = folded[byText[name.first]];
    Distinct entry{static_cast<std::uint32_t>(texts_.size()), static_cast<std::uint32_t>(text.size()),
                   static_cast<std::uint32_t>(distinctOutputs_.size()), 0};
    texts_.append(text);
    for (std::uint32_t k = name.first; k < byText.size() && folded[byText[k]] == text; ++k) {
      distinctOutputs_.push_back(indices[byText[k]]);
    }
    entry.outputCount = static_cast<std::uint32_t>(distinctOutputs_.size()) - entry.outputStart;
    distinct_.push_back(entry);
  }
  std::size_t slots = 16;
  while (slots < groups_.size() * 2) slots *= 2;
  groupSlots_.assign(slots, 0);
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    std::size_t slot = (KeyHash(groups_[g].key, groups_[g].length) >> 12) & (slots - 1);
    while (groupSlots_[slot] != 0) slot = (slot + 1) & (slots - 1);
    groupSlots_[slot] = static_cast<std::uint32_t>(g + 1);
  }

  if (crowded) BuildAutomaton(folded, indices);
}

void FuzzyNames::BuildAutomaton(const TextList& folded, const std::vector<std::uint32_t>& indices) {
  // The names in byte order (ties by index), so that each name's trie path
  // starts along the previous name's and the children of every state are
  // made in byte order. All of the trie lives in a few flat arrays.
  std::vector<std::uint32_t> sorted(folded.size());
  std::iota(sorted.begin(), sorted.end(), 0u);
  std::sort(sorted.begin(), sorted.end(), [&](std::uint32_t a, std::uint32_t b) {
    int order = folded[a].compare(folded[b]);
    return order != 0 ? order < 0 : a < b;
  });
  std::vector<std::uint32_t> parentOf{kRoot};
  std::vector<unsigned char> byteOf{0};
  std::vector<std::uint32_t> endOf(folded.size());  // per entry of `folded`: the state its name ends in
  std::vector<std::uint32_t> path{kRoot};           // path[d]: the state of the previous name's first d bytes
  const Text* previous = nullptr;
  for (std::uint32_t i : sorted) {
    const Text& name = folded[i];
    std::size_t shared = 0;
    if (previous != nullptr) {
      while (shared < name.size() && shared < previous->size() && name[shared] == (*previous)[shared]) ++shared;
    }
    path.resize(shared + 1);
    for (std::size_t d = shared; d < name.size(); ++d) {
      path.push_back(static_cast<std::uint32_t>(parentOf.size()));
      parentOf.push_back(path[d]);
      byteOf.push_back(static_cast<unsigned char>(name[d]));
    }
    endOf[i] = path.back();
    previous = &name;
  }
  const std::size_t stateCount = parentOf.size();

  // Children per state, in byte order, and depths.
  std::vector<std::uint32_t> childStart(stateCount + 1, 0);
  for (std::size_t s = 1; s < stateCount; ++s) ++childStart[parentOf[s] + 1];
  std::partial_sum(childStart.begin(), childStart.end(), childStart.begin());
  std::vector<std::uint32_t> children(stateCount > 0 ? stateCount - 1 : 0);
  {
    std::vector<std::uint32_t> cursor(childStart.begin(), childStart.end() - 1);
    for (std::size_t s = 1; s < stateCount; ++s) children[cursor[parentOf[s]]++] = static_cast<std::uint32_t>(s);
  }
  states_.resize(stateCount);
  for (std::size_t s = 1; s < stateCount; ++s) states_[s].depth = states_[parentOf[s]].depth + 1;

  // Outputs: the indices of the names ending in each state, in `folded` order.
  outputStart_.assign(stateCount + 1, 0);
  for (std::uint32_t end : endOf) ++outputStart_[end + 1];
  std::partial_sum(outputStart_.begin(), outputStart_.end(), outputStart_.begin());
  outputs_.resize(folded.size());
  {
    std::vector<std::uint32_t> cursor(outputStart_.begin(), outputStart_.end() - 1);
    for (std::size_t i = 0; i < folded.size(); ++i) outputs_[cursor[endOf[i]]++] = indices[i];
  }
  for (std::size_t s = 0; s < stateCount; ++s) states_[s].endsName = outputStart_[s + 1] > outputStart_[s];

  // Breadth-first order: every state comes after its fall-back, which is shorter.
  std::vector<std::uint32_t> order{kRoot};
  order.reserve(stateCount);
  for (std::size_t k = 0; k < order.size(); ++k) {
    std::uint32_t s = order[k];
    order.insert(order.end(), children.begin() + childStart[s], children.begin() + childStart[s + 1]);
  }

  // Each state's kind and edges.
  std::size_t rows = 0;
  for (std::uint32_t s : order) {
    std::size_t first = childStart[s], count = childStart[s + 1] - first;
    State& state = states_[s];
    state.edgeCount = static_cast<std::uint16_t>(std::min<std::size_t>(count, 0xFFFF));
    if (s == kRoot || (count >= kDenseChildren && rows < kMaxRows)) {
      state.kind = Dense;
      state.next = static_cast<std::uint32_t>(rows++);
    } else if (count == 1) {
      state.kind = Single;
      state.singleByte = byteOf[children[first]];
      state.next = children[first];
    } else if (count > 1) {
      state.kind = Sparse;
      state.next = static_cast<std::uint32_t>(edgeBytes_.size());
      for (std::size_t c = first; c < first + count; ++c) {
        edgeBytes_.push_back(byteOf[children[c]]);
        edgeTargets_.push_back(children[c]);
      }
    }
  }
  rows_.assign(rows * 256, kRoot);

  // Fall-backs, dictionary links and the rows, shorter states first, so that
  // whatever a state falls back to is complete already.
  for (std::uint32_t s : order) {
    State& state = states_[s];
    std::size_t first = childStart[s], last = childStart[s + 1];
    if (state.kind == Dense) {
      std::uint32_t* row = &rows_[std::size_t{state.next} * 256];
      if (s != kRoot) {
        for (int byte = 0; byte < 256; ++byte) row[byte] = Step(state.fail, static_cast<unsigned char>(byte));
      }
      for (std::size_t c = first; c < last; ++c) row[byteOf[children[c]]] = children[c];
    }
    for (std::size_t c = first; c < last; ++c) {
      std::uint32_t target = children[c];
      // The longest proper suffix of the child's text that is in the trie.
      std::uint32_t fail = s == kRoot ? kRoot : Step(state.fail, byteOf[target]);
      states_[target].fail = fail;
      states_[target].dictionary = states_[fail].endsName ? fail : states_[fail].dictionary;
    }
  }
}

}  // namespace tarnwell
