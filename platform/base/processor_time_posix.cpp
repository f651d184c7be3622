#include <time.h>

#include "platform/base/processor_time.h"

namespace tarnwell {

double ProcessProcessorSeconds() {
  timespec now{};
  if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now) != 0) return 0;
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace tarnwell
