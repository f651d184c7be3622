// A lister that times the listing calls it passes on: how many, and how long
// they took together (all threads). Where listing calls are serialised
// inside the system, more threads make each call take longer.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "platform/files/directory_listing.h"

namespace tarnwell::bench {

class TimedLister final : public DirectoryLister {
 public:
  explicit TimedLister(const DirectoryLister& inner) : inner_(inner) {}

  ListingOutcome List(const Text& folder, DirectoryListing& listing) const override {
    auto start = std::chrono::steady_clock::now();
    ListingOutcome listed = inner_.List(folder, listing);
    auto took = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start);
    nanoseconds_.fetch_add(static_cast<std::uint64_t>(took.count()), std::memory_order_relaxed);
    calls_.fetch_add(1, std::memory_order_relaxed);
    return listed;
  }

  void Reset() {
    calls_ = 0;
    nanoseconds_ = 0;
  }
  std::uint64_t Calls() const { return calls_.load(); }
  // The mean time of one call since the last Reset, in microseconds.
  double MeanMicroseconds() const {
    std::uint64_t calls = calls_.load();
    return calls == 0 ? 0 : static_cast<double>(nanoseconds_.load()) / 1000.0 / static_cast<double>(calls);
  }

 private:
  const DirectoryLister& inner_;
  mutable std::atomic<std::uint64_t> calls_{0};
  mutable std::atomic<std::uint64_t> nanoseconds_{0};
};

}  // namespace tarnwell::bench
