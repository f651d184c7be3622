#include "platform/base/random.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <random>

namespace tarnwell {
namespace {

std::atomic<std::uint32_t> seedCounter{0};
thread_local std::mt19937 generator;

std::uint32_t TickCountMs() {
  auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

}  // namespace

void SeedRandom() {
  std::uint32_t tick = TickCountMs();
  std::uint32_t counter = seedCounter.load(std::memory_order_relaxed);
  // The counter grows by 100 plus the low eight bits of (tick + counter).
  while (!seedCounter.compare_exchange_weak(counter, counter + 100 + ((tick + counter) & 0xFF),
                                            std::memory_order_relaxed)) {
  }
  generator.seed(tick + counter);
}

int RandomInRange(int low, int high) {
  low = std::max(low, 0);
  high = std::max(high, 0);
  if (low > high) std::swap(low, high);
  std::int64_t span = static_cast<std::int64_t>(high) - low + 1;
  std::int64_t draw = static_cast<std::int64_t>(generator() & 0x7FFFFFFF);
  return static_cast<int>(low + draw % span);
}

}  // namespace tarnwell
