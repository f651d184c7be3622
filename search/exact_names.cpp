#include "search/exact_names.h"

#include <unordered_map>

namespace tarnwell {

ExactNames::ExactNames(const TextList& folded, const std::vector<std::uint32_t>& indices) {
  std::unordered_map<std::string_view, std::vector<std::uint32_t>> byName;
  std::vector<std::string_view> order;
  for (std::size_t i = 0; i < folded.size(); ++i) {
    auto [it, added] = byName.try_emplace(folded[i]);
    if (added) order.push_back(folded[i]);
    it->second.push_back(indices[i]);
  }
  // A table at most half full keeps the probe chains short.
  std::size_t slotCount = 16;
  while (slotCount < order.size() * 2) slotCount *= 2;
  slots_.assign(slotCount, 0);
  for (std::string_view name : order) {
    Entry entry{};
    entry.hash = kHashStart;
    for (char c : name) entry.hash = HashStep(entry.hash, static_cast<unsigned char>(c));
    entry.textStart = static_cast<std::uint32_t>(texts_.size());
    entry.textLength = static_cast<std::uint32_t>(name.size());
    texts_.append(name);
    const std::vector<std::uint32_t>& found = byName[name];
    entry.indexStart = static_cast<std::uint32_t>(indices_.size());
    entry.indexCount = static_cast<std::uint32_t>(found.size());
    indices_.insert(indices_.end(), found.begin(), found.end());
    std::size_t slot = entry.hash & (slotCount - 1);
    while (slots_[slot] != 0) slot = (slot + 1) & (slotCount - 1);
    entries_.push_back(entry);
    slots_[slot] = static_cast<std::uint32_t>(entries_.size());
  }
}

const ExactNames::Entry* ExactNames::Find(std::string_view candidate, std::uint64_t hash, std::uint64_t& work) const {
  std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
    ++work;
    const Entry& entry = entries_[slots_[slot] - 1];
    if (entry.hash == hash && std::string_view(texts_).substr(entry.textStart, entry.textLength) == candidate) {
      return &entry;
    }
  }
  ++work;
  return nullptr;
}

}  // namespace tarnwell
