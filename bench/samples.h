// Repeated timings of one benchmark case and what the table shows of them:
// the median, and the spread as the fastest and slowest run.
#pragma once

#include <cstddef>
#include <vector>

namespace tarnwell::bench {

// The last line of a benchmark's output: a table without it was cut short
// (the program died) and is not kept.
inline constexpr const char kRunComplete[] = "-- run complete --";

class Samples {
 public:
  void Add(double seconds) { seconds_.push_back(seconds); }
  std::size_t Count() const { return seconds_.size(); }
  bool Empty() const { return seconds_.empty(); }
  double Median() const;
  double Min() const;
  double Max() const;
  // The median over runs of this case's time over `bottom`'s in the same
  // round: where the two ran one after the other, a machine that is slower
  // for a while slows both and leaves their ratio, which the ratio of the
  // medians does not. 0 when the two hold different numbers of runs.
  double MedianRatioTo(const Samples& bottom) const;

 private:
  std::vector<double> seconds_;
};

}  // namespace tarnwell::bench
