#include "results/slab_pool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <random>

namespace tarnwell {
namespace {

// Two deques share one pool and grow and shrink at both ends in turn: every
// chunk freed by one is taken again by either, and a cell handed out twice
// would let one deque's values overwrite the other's.
TEST(SlabPool, DequesSharingAPoolKeepTheirValuesThroughChurn) {
  SlabPool pool;
  std::deque<std::uint64_t, SlabAllocator<std::uint64_t>> odd{SlabAllocator<std::uint64_t>(pool)};
  std::deque<std::uint32_t, SlabAllocator<std::uint32_t>> even{SlabAllocator<std::uint32_t>(pool)};
  std::deque<std::uint64_t> oddExpected;
  std::deque<std::uint32_t> evenExpected;
  std::mt19937 random(7);
  for (int step = 0; step < 200000; ++step) {
    std::uint32_t value = static_cast<std::uint32_t>(random());
    switch (random() % 6) {
      case 0: case 1: odd.push_back(value * 2ull + 1); oddExpected.push_back(value * 2ull + 1); break;
      case 2: even.push_front(value * 2); evenExpected.push_front(value * 2); break;
      case 3: if (!odd.empty()) { odd.pop_front(); oddExpected.pop_front(); } break;
      case 4: if (!even.empty()) { even.pop_back(); evenExpected.pop_back(); } break;
      case 5: if (step % 50000 == 5) { odd.clear(); odd.shrink_to_fit(); oddExpected.clear(); } break;
    }
  }
  ASSERT_TRUE(std::equal(odd.begin(), odd.end(), oddExpected.begin(), oddExpected.end()));
  ASSERT_TRUE(std::equal(even.begin(), even.end(), evenExpected.begin(), evenExpected.end()));
}

TEST(SlabPool, LargeRequestsAndFreedCellsAreNeverHandedOutTwice) {
  SlabPool pool;
  void* large = pool.Allocate(SlabPool::kCellSize + 1);
  void* first = pool.Allocate(16);
  void* second = pool.Allocate(SlabPool::kCellSize);
  EXPECT_NE(first, second);
  EXPECT_GE(static_cast<char*>(second) - static_cast<char*>(first), static_cast<std::ptrdiff_t>(SlabPool::kCellSize));
  pool.Deallocate(first, 16);
  EXPECT_EQ(pool.Allocate(100), first);  // the freed cell comes back
  EXPECT_NE(pool.Allocate(100), first);  // and only once
  pool.Deallocate(large, SlabPool::kCellSize + 1);
}

}  // namespace
}  // namespace tarnwell
