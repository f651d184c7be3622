#include "search/match/exact_names.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace tarnwell {
namespace {

std::uint64_t Mix(std::uint64_t value) {
  value *= 0x9E3779B97F4A7C15ull;
  return value ^ (value >> 32);
}

}  // namespace

ExactNames::ExactNames(const TextList& folded, const std::vector<std::uint32_t>& indices) {
  // Equal names next to each other (in index order), each run one entry.
  std::vector<std::uint32_t> sorted(folded.size());
  std::iota(sorted.begin(), sorted.end(), 0u);
  std::sort(sorted.begin(), sorted.end(), [&](std::uint32_t a, std::uint32_t b) {
    int order = folded[a].compare(folded[b]);
    return order != 0 ? order < 0 : a < b;
  });
  std::size_t names = 0;
  for (std::size_t k = 0; k < sorted.size(); ++k) names += k == 0 || folded[sorted[k]] != folded[sorted[k - 1]];
  // A table at most half full keeps the probe chains short.
  std::size_t slotCount = 16;
  while (slotCount < names * 2) slotCount *= 2;
  slots_.assign(slotCount, 0);
  indices_.reserve(folded.size());
  for (std::size_t k = 0; k < sorted.size();) {
    const Text& name = folded[sorted[k]];
    Entry entry{};
    entry.hash = HashOf(name);
    entry.textStart = static_cast<std::uint32_t>(texts_.size());
    entry.textLength = static_cast<std::uint32_t>(name.size());
    texts_.append(name);
    entry.indexStart = static_cast<std::uint32_t>(indices_.size());
    for (; k < sorted.size() && folded[sorted[k]] == name; ++k) indices_.push_back(indices[sorted[k]]);
    entry.indexCount = static_cast<std::uint32_t>(indices_.size() - entry.indexStart);
    std::size_t slot = entry.hash & (slotCount - 1);
    while (slots_[slot] != 0) slot = (slot + 1) & (slotCount - 1);
    entries_.push_back(entry);
    slots_[slot] = static_cast<std::uint32_t>(entries_.size());
    if (name.size() < kLengthBits) {
      lengths_[name.size() / 64] |= std::uint64_t{1} << (name.size() % 64);
    } else {
      longNames_ = true;
    }
  }
}

std::uint64_t ExactNames::HashOf(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ull ^ text.size();
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t chunk;
    std::memcpy(&chunk, text.data() + i, 8);
    hash = Mix(hash ^ chunk);
  }
  if (i < text.size()) {
    std::uint64_t chunk = 0;
    std::memcpy(&chunk, text.data() + i, text.size() - i);
    hash = Mix(hash ^ chunk);
  }
  return hash;
}

const ExactNames::Entry* ExactNames::Find(std::string_view candidate) const {
  std::uint64_t hash = HashOf(candidate);
  std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
    const Entry& entry = entries_[slots_[slot] - 1];
    if (entry.hash == hash && std::string_view(texts_).substr(entry.textStart, entry.textLength) == candidate) {
      return &entry;
    }
  }
  return nullptr;
}

}  // namespace tarnwell
