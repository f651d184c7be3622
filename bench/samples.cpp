#include "bench/samples.h"

#include <algorithm>

namespace tarnwell::bench {

double Samples::Median() const {
  if (seconds_.empty()) return 0;
  std::vector<double> sorted = seconds_;
  std::sort(sorted.begin(), sorted.end());
  std::size_t middle = sorted.size() / 2;
  return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

double Samples::Min() const { return seconds_.empty() ? 0 : *std::min_element(seconds_.begin(), seconds_.end()); }

double Samples::Max() const { return seconds_.empty() ? 0 : *std::max_element(seconds_.begin(), seconds_.end()); }

}  // namespace tarnwell::bench
