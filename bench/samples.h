// Repeated timings of one benchmark case and what the table shows of them:
// the median, and the spread as the fastest and slowest run.
#pragma once

#include <cstddef>
#include <vector>

namespace tarnwell::bench {

class Samples {
 public:
  void Add(double seconds) { seconds_.push_back(seconds); }
  std::size_t Count() const { return seconds_.size(); }
  bool Empty() const { return seconds_.empty(); }
  double Median() const;
  double Min() const;
  double Max() const;

 private:
  std::vector<double> seconds_;
};

}  // namespace tarnwell::bench
