// An append-only store of texts in fixed-size blocks. A stored text never
// moves: the view returned by Add stays valid until Clear, and the store
// grows by adding a block, never by copying what it holds. That keeps every
// append cheap and even, however many texts there are, which matters on the
// window thread while a search delivers a million rows.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace tarnwell {

class TextBlocks {
 public:
  static constexpr std::size_t kBlockSize = 1 << 20;

  // Copies `text` into the store and returns where it now lives.
  std::string_view Add(std::string_view text);
  // Forgets every text; the views handed out before name nothing any more.
  void Clear();

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t used_ = kBlockSize;  // bytes used in the last block; "full" when there is none
};

}  // namespace tarnwell
