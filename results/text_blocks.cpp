#include "results/text_blocks.h"

#include <cstring>

namespace tarnwell {

std::string_view TextBlocks::Add(std::string_view text) {
  if (text.empty()) return {};
  if (text.size() > kBlockSize - used_) {
    // A text longer than a block gets a block of its own size.
    std::size_t size = text.size() > kBlockSize ? text.size() : kBlockSize;
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
    used_ = 0;
    if (size > kBlockSize) {
      std::memcpy(blocks_.back().get(), text.data(), text.size());
      used_ = kBlockSize;  // nothing else goes into an oversized block
      return {blocks_.back().get(), text.size()};
    }
  }
  char* place = blocks_.back().get() + used_;
  std::memcpy(place, text.data(), text.size());
  used_ += text.size();
  return {place, text.size()};
}

void TextBlocks::Clear() {
  blocks_.clear();
  blocks_.shrink_to_fit();
  used_ = kBlockSize;
}

}  // namespace tarnwell
