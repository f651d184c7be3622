#include "pictures/byte_source.h"

#include <algorithm>

namespace tarnwell {

bool MemoryBytes::Read(std::uint64_t offset, std::span<std::uint8_t> into) const {
  if (offset > bytes_.size() || into.size() > bytes_.size() - offset) return false;
  std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), into.size(), into.begin());
  return true;
}

}  // namespace tarnwell
