#include "search/match/number_names.h"

#include <algorithm>

namespace tarnwell {

bool NumberNames::IsNumber(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), IsDigit);
}

std::string_view NumberNames::ValueOf(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? digits.substr(digits.size() - 1) : digits.substr(first);
}

void NumberNames::Add(std::string_view name, std::uint32_t index) {
  const std::string_view value = ValueOf(name);
  ++count_;
  // A run of zeros has no significant digit: its value 0 has length 0 in the scan.
  const std::size_t significant = value == "0" ? 0 : value.size();
  longestValue_ = std::max(longestValue_, significant);
  if (significant > kIntegerDigits) {
    longValues_[std::string(value)].push_back(index);
    return;
  }
  std::uint64_t integer = 0;
  for (char c : value) integer = integer * 10 + static_cast<std::uint64_t>(c - '0');
  AddInteger(integer, index);
}

void NumberNames::AddInteger(std::uint64_t value, std::uint32_t index) {
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  const std::uint64_t mixed = Mix(value);
  const std::uint64_t bit = mixed >> 48;
  filter_[bit >> 6] |= std::uint64_t{1} << (bit & 63);
  const auto entry = static_cast<std::uint32_t>(entries_.size());
  entries_.push_back({index, kNone});
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = static_cast<std::size_t>(mixed >> slotShift_);; at = (at + 1) & mask) {
    Slot& slot = slots_[at];
    if (slot.keyPlusOne == 0) {
      slot = {value + 1, entry, entry};
      ++used_;
      return;
    }
    if (slot.keyPlusOne == value + 1) {
      entries_[slot.last].next = entry;
      slot.last = entry;
      return;
    }
  }
}

void NumberNames::Grow() {
  std::vector<Slot> old = std::move(slots_);
  const std::size_t size = old.empty() ? 16 : old.size() * 2;
  slots_.assign(size, Slot{});
  slotShift_ = 64;
  for (std::size_t s = size; s > 1; s >>= 1) --slotShift_;
  if (filter_.empty()) filter_.assign((std::size_t{1} << 16) / 64, 0);
  const std::size_t mask = size - 1;
  for (const Slot& moved : old) {
    if (moved.keyPlusOne == 0) continue;
    std::size_t at = static_cast<std::size_t>(Mix(moved.keyPlusOne - 1) >> slotShift_);
    while (slots_[at].keyPlusOne != 0) at = (at + 1) & mask;
    slots_[at] = moved;
  }
}

}  // namespace tarnwell
