// Counts the bytes the code under test allocates, through the sanitizer's
// allocator hooks: InstallAllocationCount() once at the fuzzer's start,
// then AllocatedBy(work) around the call whose allocations are bounded.
#pragma once

#include <sanitizer/allocator_interface.h>

#include <cstddef>

namespace tarnwell::fuzz {

inline bool countingAllocations = false;
inline std::size_t allocatedBytes = 0;

inline void CountMalloc(const volatile void*, std::size_t size) {
  if (countingAllocations) allocatedBytes += size;
}
inline void CountFree(const volatile void*) {}

inline void InstallAllocationCount() { __sanitizer_install_malloc_and_free_hooks(CountMalloc, CountFree); }

// The bytes allocated while `work` ran.
template <class Work>
std::size_t AllocatedBy(Work&& work) {
  allocatedBytes = 0;
  countingAllocations = true;
  work();
  countingAllocations = false;
  return allocatedBytes;
}

}  // namespace tarnwell::fuzz
