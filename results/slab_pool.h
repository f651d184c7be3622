// Memory for the result list's deques. A deque takes its rows in chunks of
// about 512 bytes, one heap block for every few dozen rows; here those chunks
// are cut from slabs of 256 KB instead. Under Wine the heap searches its free
// blocks one by one, and a hundred thousand small long-lived blocks scattered
// between the buffers that listing a folder takes and frees made each of
// those allocations crawl: a search with 77,000 rows took twice as long as
// one without. The slabs go back to the heap with the pool.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace tarnwell {

class SlabPool {
 public:
  // Requests up to this size are served from the slabs.
  static constexpr std::size_t kCellSize = 512;
  static constexpr std::size_t kSlabSize = 256 * 1024;

  SlabPool() = default;
  SlabPool(const SlabPool&) = delete;
  SlabPool& operator=(const SlabPool&) = delete;

  void* Allocate(std::size_t bytes);
  void Deallocate(void* block, std::size_t bytes) noexcept;

 private:
  struct FreeCell {
    FreeCell* next;
  };
  std::vector<std::unique_ptr<std::byte[]>> slabs_;
  std::size_t used_ = kSlabSize;  // bytes handed out of the last slab
  FreeCell* freeCells_ = nullptr;
};

// A standard allocator over a SlabPool that outlives every container using it.
template <class T>
class SlabAllocator {
 public:
  using value_type = T;

  explicit SlabAllocator(SlabPool& pool) noexcept : pool_(&pool) {}
  template <class U>
  SlabAllocator(const SlabAllocator<U>& other) noexcept : pool_(other.pool_) {}

  T* allocate(std::size_t n) { return static_cast<T*>(pool_->Allocate(n * sizeof(T))); }
  void deallocate(T* block, std::size_t n) noexcept { pool_->Deallocate(block, n * sizeof(T)); }

  template <class U>
  bool operator==(const SlabAllocator<U>& other) const noexcept {
    return pool_ == other.pool_;
  }

 private:
  template <class U>
  friend class SlabAllocator;
  SlabPool* pool_;
};

}  // namespace tarnwell
