#include "platform/base/window_thread_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/base/entry_guard.h"

namespace tarnwell {
namespace {

TEST(WindowThreadQueue, RunsEachPostersTasksInOrderAndWakesOncePerDrain) {
  std::atomic<int> wakes{0};
  WindowThreadQueue queue([&] { ++wakes; });
  std::vector<std::vector<int>> seen(3);
  std::vector<std::thread> posters;
  for (int t = 0; t < 3; ++t) {
    posters.emplace_back([&, t] {
      for (int i = 0; i < 10000; ++i) queue.Post([&seen, t, i] { seen[t].push_back(i); });
    });
  }
  for (auto& poster : posters) poster.join();
  EXPECT_EQ(wakes.load(), 1);
  queue.Drain(std::chrono::hours(1));
  EXPECT_TRUE(queue.Empty());
  for (const auto& one : seen) {
    ASSERT_EQ(one.size(), 10000u);
    for (int i = 0; i < 10000; ++i) ASSERT_EQ(one[i], i);
  }
  queue.Post([] {});
  EXPECT_EQ(wakes.load(), 2);
}

TEST(WindowThreadQueue, ASpentBudgetLeavesTheRestQueuedAndWakesAgain) {
  int wakes = 0;
  WindowThreadQueue queue([&] { ++wakes; });
  int ran = 0;
  for (int i = 0; i < 5; ++i) queue.Post([&] { ++ran; });
  queue.Drain(std::chrono::milliseconds(0));
  EXPECT_EQ(ran, 0);
  EXPECT_EQ(wakes, 2);
  queue.Drain(std::chrono::hours(1));
  EXPECT_EQ(ran, 5);
}

TEST(WindowThreadQueue, TasksPostedWhileDrainingRunInTheSameDrain) {
  int wakes = 0;
  WindowThreadQueue queue([&] { ++wakes; });
  std::vector<int> order;
  queue.Post([&] {
    order.push_back(1);
    queue.Post([&] { order.push_back(3); });
  });
  queue.Post([&] { order.push_back(2); });
  queue.Drain(std::chrono::hours(1));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(wakes, 1);
}

// A throwing task once left the wake-up pending: the window was never woken
// again and every later task (rows, the search's end) stayed queued.
TEST(WindowThreadQueue, ATaskThatThrowsIsReportedAndEveryLaterTaskRuns) {
  int wakes = 0;
  WindowThreadQueue queue([&] { ++wakes; });
  int ran = 0;
  const std::uint64_t caughtBefore = CaughtAtEntries();
  queue.Post([] { throw std::runtime_error("a task's fault"); });
  queue.Post([&] { ++ran; });
  try {
    queue.Drain(std::chrono::hours(1));
  } catch (...) {
  }
  EXPECT_EQ(CaughtAtEntries(), caughtBefore + 1);
  queue.Post([&] { ++ran; });
  EXPECT_EQ(wakes, 2);
  queue.Drain(std::chrono::hours(1));
  EXPECT_EQ(ran, 2);
  EXPECT_TRUE(queue.Empty());
}

TEST(WindowThreadQueue, ClosedQueueDropsEverything) {
  WindowThreadQueue queue([] {});
  int ran = 0;
  queue.Post([&] { ++ran; });
  queue.Close();
  queue.Post([&] { ++ran; });
  queue.Drain(std::chrono::hours(1));
  EXPECT_EQ(ran, 0);
  EXPECT_TRUE(queue.Empty());
}

}  // namespace
}  // namespace tarnwell
