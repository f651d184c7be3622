#include "platform/base/invariant.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/base/debug_output.h"

namespace tarnwell {

void BreakInvariant(const char* what, const char* file, int line) noexcept {
  try {
    WriteDebugLine(std::string("Tarnwell: broken invariant: ") + what + " (" + file + ":" + std::to_string(line) + ")");
  } catch (...) {
  }
  // Standard error too: a debugger's output is not always watched.
  std::fprintf(stderr, "Tarnwell: broken invariant: %s (%s:%d)\n", what, file, line);
  std::abort();
}

}  // namespace tarnwell
