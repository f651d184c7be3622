#include "results/slab_pool.h"

namespace tarnwell {

static_assert(SlabPool::kCellSize % alignof(std::max_align_t) == 0, "cells keep the alignment of the slab");

void* SlabPool::Allocate(std::size_t bytes) {
  if (bytes > kCellSize) return ::operator new(bytes);
  if (freeCells_ != nullptr) {
    FreeCell* cell = freeCells_;
    freeCells_ = cell->next;
    return cell;
  }
  if (used_ == kSlabSize) {
    slabs_.push_back(std::make_unique_for_overwrite<std::byte[]>(kSlabSize));
    used_ = 0;
  }
  void* cell = slabs_.back().get() + used_;
  used_ += kCellSize;
  return cell;
}

void SlabPool::Deallocate(void* block, std::size_t bytes) noexcept {
  if (bytes > kCellSize) {
    ::operator delete(block);
    return;
  }
  freeCells_ = new (block) FreeCell{freeCells_};
}

}  // namespace tarnwell
