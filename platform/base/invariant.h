// Checks of what must hold for the rows to be right. Unlike assert they are
// on in every build, the program's included: a breach writes a debug line
// and ends the process at once, since going on would show or act on wrong
// files.
#pragma once

namespace tarnwell {

// Writes "Tarnwell: broken invariant: <what> (<file>:<line>)" and aborts.
[[noreturn]] void BreakInvariant(const char* what, const char* file, int line) noexcept;

}  // namespace tarnwell

#define TARNWELL_INVARIANT(condition) \
  ((condition) ? static_cast<void>(0) : ::tarnwell::BreakInvariant(#condition, __FILE__, __LINE__))
