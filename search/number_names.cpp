#include "search/number_names.h"

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
  longestValue_ = std::max(longestValue_, value.size());
  auto entry = indices_.find(value);
  if (entry == indices_.end()) entry = indices_.emplace(std::string(value), std::vector<std::uint32_t>()).first;
  entry->second.push_back(index);
}

}  // namespace tarnwell
