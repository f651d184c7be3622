#include <time.h>

#include "platform/base/processor_time.h"

namespace tarnwell {

namespace {

double Seconds(clockid_t clock, double unknown) {
  timespec now{};
  if (clock_gettime(clock, &now) != 0) return unknown;
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace

double ProcessProcessorSeconds() { return Seconds(CLOCK_PROCESS_CPUTIME_ID, 0); }

double ThreadProcessorSeconds() { return Seconds(CLOCK_THREAD_CPUTIME_ID, -1); }

}  // namespace tarnwell
