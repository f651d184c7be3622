#include "platform/base/debug_output.h"

#include <cstdio>
#include <string>

namespace tarnwell {

void WriteDebugLine(std::string_view line) {
  // One write per line, so that lines of several threads never interleave.
  std::string whole(line);
  whole.push_back('\n');
  std::fwrite(whole.data(), 1, whole.size(), stderr);
  std::fflush(stderr);
}

}  // namespace tarnwell
