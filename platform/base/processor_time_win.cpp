#include <windows.h>

#include <algorithm>

#include "platform/base/processor_time.h"

namespace tarnwell {
namespace {

double Seconds(const FILETIME& t) {
  return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
}

// The rate at which a thread's cycle count grows while it runs. A thread's
// kernel and user times move only at the clock tick (10-16 ms), far too
// coarse for one listing; its cycle count is exact but in cycles. The rate
// is measured once, on a thread that keeps busy for three spans of half a
// millisecond; the fastest span is the one least interrupted. 0 when the
// system does not count cycles (Wine) or the rate is not a processor's.
double CyclesPerSecond() {
  static const double rate = [] {
    LARGE_INTEGER frequency{};
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) return 0.0;
    double fastest = 0;
    for (int span = 0; span < 3; ++span) {
      ULONG64 cyclesBefore = 0, cyclesAfter = 0;
      LARGE_INTEGER before{}, after{};
      if (!QueryThreadCycleTime(GetCurrentThread(), &cyclesBefore)) return 0.0;
      QueryPerformanceCounter(&before);
      do {
        QueryPerformanceCounter(&after);
      } while (after.QuadPart - before.QuadPart < frequency.QuadPart / 2000);
      if (!QueryThreadCycleTime(GetCurrentThread(), &cyclesAfter)) return 0.0;
      const double seconds = static_cast<double>(after.QuadPart - before.QuadPart) / static_cast<double>(frequency.QuadPart);
      fastest = std::max(fastest, static_cast<double>(cyclesAfter - cyclesBefore) / seconds);
    }
    return fastest >= 1e8 && fastest <= 1e10 ? fastest : 0.0;
  }();
  return rate;
}

}  // namespace

double ProcessProcessorSeconds() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  return Seconds(kernel) + Seconds(user);
}

double ThreadProcessorSeconds() {
  const double rate = CyclesPerSecond();
  ULONG64 cycles = 0;
  if (rate <= 0 || !QueryThreadCycleTime(GetCurrentThread(), &cycles)) return -1;
  return static_cast<double>(cycles) / rate;
}

}  // namespace tarnwell
