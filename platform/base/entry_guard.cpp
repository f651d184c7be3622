#include "platform/base/entry_guard.h"

#include <atomic>
#include <string>

#include "platform/base/debug_output.h"

namespace tarnwell {
namespace {

std::atomic<std::uint64_t> caught{0};

}  // namespace

void ReportCaughtAtEntry(const char* entry, const char* what) noexcept {
  caught.fetch_add(1, std::memory_order_relaxed);
  try {
    WriteDebugLine(std::string("Tarnwell: ") + entry + " caught " + what);
  } catch (...) {
    // Not even the line could be written; the count still tells.
  }
}

std::uint64_t CaughtAtEntries() noexcept { return caught.load(std::memory_order_relaxed); }

}  // namespace tarnwell
