#include "platform/files/temporary_name.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <random>

namespace tarnwell {

Text TemporarySuffix() {
  // Successive values of a counter that starts at a random point per process.
  static std::atomic<std::uint64_t> next{
      std::random_device{}() ^
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
  std::uint64_t value = next.fetch_add(0x9E3779B97F4A7C15u);
  Text suffix = ".~";
  for (int shift = 60; shift >= 0; shift -= 4) suffix.push_back("0123456789abcdef"[(value >> shift) & 0xF]);
  suffix += ".tmp";
  return suffix;
}

Text CreateTemporaryBeside(std::string_view path, const std::function<TemporaryCreation(const Text&)>& create) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    Text temporary = Concat(path, TemporarySuffix());
    TemporaryCreation outcome = create(temporary);
    if (outcome == TemporaryCreation::Created) return temporary;
    if (outcome == TemporaryCreation::Failed) break;
  }
  return {};
}

}  // namespace tarnwell
