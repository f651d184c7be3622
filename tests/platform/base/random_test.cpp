#include "platform/base/random.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

namespace tarnwell {
namespace {

TEST(RandomInRange, StaysWithinTheProgressRange) {
  std::set<int> seen;
  for (int i = 0; i < 20000; ++i) {
    SeedRandom();
    int r = RandomInRange(1, 5000);
    ASSERT_GE(r, 1);
    ASSERT_LE(r, 5000);
    seen.insert(r);
  }
  // Seeds taken within one millisecond still differ, so the draws spread.
  EXPECT_GT(seen.size(), 1000u);
}

TEST(RandomInRange, ClampsAndOrdersItsBounds) {
  SeedRandom();
  for (int i = 0; i < 1000; ++i) {
    int r = RandomInRange(5, 2);
    ASSERT_GE(r, 2);
    ASSERT_LE(r, 5);
    ASSERT_EQ(RandomInRange(-7, -1), 0);
    ASSERT_EQ(RandomInRange(3, 3), 3);
    int wide = RandomInRange(0, 2147483647);
    ASSERT_GE(wide, 0);
    ASSERT_LE(RandomInRange(-5, 1), 1);
  }
}

TEST(RandomInRange, ThreadsDrawFromTheirOwnGenerators) {
  std::vector<std::thread> threads;
  std::vector<int> outOfRange(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &outOfRange] {
      for (int i = 0; i < 5000; ++i) {
        SeedRandom();
        int r = RandomInRange(1, 5000);
        if (r < 1 || r > 5000) ++outOfRange[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(outOfRange, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace tarnwell
