// One catch at every place where the system calls into the program (window
// and subclass procedures, timer callbacks, COM methods, thread bodies): an
// exception must never unwind into system code, and none may disappear
// without a trace. What is caught writes a debug line naming the entry and
// is counted.
#pragma once

#include <cstdint>
#include <exception>
#include <utility>

namespace tarnwell {

// Writes "Tarnwell: <entry> caught <what>" as a debug line and counts it.
// Never throws.
void ReportCaughtAtEntry(const char* entry, const char* what) noexcept;

// Exceptions caught at entries so far, by the whole process (for tests).
std::uint64_t CaughtAtEntries() noexcept;

// Runs `body` and returns what it returns; when it throws, reports the
// exception and returns `onFault`.
template <typename Result, typename Body>
Result CatchAtEntry(const char* entry, Result onFault, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (const std::exception& fault) {
    ReportCaughtAtEntry(entry, fault.what());
  } catch (...) {
    ReportCaughtAtEntry(entry, "an exception of no known type");
  }
  return onFault;
}

// The same for a body that returns nothing.
template <typename Body>
void CatchAtEntry(const char* entry, Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (const std::exception& fault) {
    ReportCaughtAtEntry(entry, fault.what());
  } catch (...) {
    ReportCaughtAtEntry(entry, "an exception of no known type");
  }
}

}  // namespace tarnwell
