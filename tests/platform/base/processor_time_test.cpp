#include "platform/base/processor_time.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace tarnwell {
namespace {

using Clock = std::chrono::steady_clock;

void SpinFor(std::chrono::milliseconds span) {
  const Clock::time_point end = Clock::now() + span;
  while (Clock::now() < end) {
  }
}

// A thread's processor time grows while it works, in seconds, and not while
// it sleeps, even with another thread of the process working meanwhile: a
// listing that waits for the storage must not look busy, nor one that works
// look idle.
TEST(ThreadProcessorSeconds, CountsTheCallingThreadsWorkAlone) {
  const double start = ThreadProcessorSeconds();
  if (start < 0) GTEST_SKIP() << "this system does not count one thread's time finely";
  SpinFor(std::chrono::milliseconds(40));
  const double worked = ThreadProcessorSeconds() - start;
  // A busy machine may take the processor away for part of the span.
  EXPECT_GT(worked, 0.008);
  EXPECT_LT(worked, 0.2);

  std::atomic<bool> done{false};
  std::thread other([&done] {
    while (!done.load()) {
    }
  });
  const double beforeSleep = ThreadProcessorSeconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(40));
  const double slept = ThreadProcessorSeconds() - beforeSleep;
  done = true;
  other.join();
  EXPECT_GE(slept, 0);
  EXPECT_LT(slept, 0.008);
}

}  // namespace
}  // namespace tarnwell
