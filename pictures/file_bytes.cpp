#include "pictures/file_bytes.h"

#include <algorithm>

namespace tarnwell {

const FileBytes::Block* FileBytes::BlockAt(std::uint64_t start) const {
  for (const Block& block : blocks_) {
    if (!block.bytes.empty() && block.start == start) return &block;
  }
  Block& block = blocks_[nextBlock_];
  nextBlock_ = (nextBlock_ + 1) % blocks_.size();
  const std::uint64_t length = std::min<std::uint64_t>(kBlockSize, file_.Size() - start);
  block.start = start;
  block.bytes.resize(static_cast<std::size_t>(length));
  if (length == 0 || !file_.ReadAt(start, block.bytes)) {
    block.bytes.clear();
    return nullptr;
  }
  return &block;
}

bool FileBytes::Read(std::uint64_t offset, std::span<std::uint8_t> into) const {
  if (!Opened() || offset > Size() || into.size() > Size() - offset) return false;
  if (into.size() > kBlockSize) return file_.ReadAt(offset, into);
  while (!into.empty()) {
    const std::uint64_t start = offset - offset % kBlockSize;
    const Block* block = BlockAt(start);
    if (!block) return false;
    const auto within = static_cast<std::size_t>(offset - start);
    const std::size_t now = std::min(into.size(), block->bytes.size() - within);
    std::copy_n(block->bytes.begin() + static_cast<std::ptrdiff_t>(within), now, into.begin());
    into = into.subspan(now);
    offset += now;
  }
  return true;
}

}  // namespace tarnwell
