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

double Samples::MedianRatioTo(const Samples& bottom) const {
  if (seconds_.empty() || seconds_.size() != bottom.seconds_.size()) return 0;
  Samples ratios;
  for (std::size_t i = 0; i < seconds_.size(); ++i) {
    if (bottom.seconds_[i] <= 0) return 0;
    ratios.Add(seconds_[i] / bottom.seconds_[i]);
  }
  return ratios.Median();
}

double Samples::Min() const { return seconds_.empty() ? 0 : *std::min_element(seconds_.begin(), seconds_.end()); }

double Samples::Max() const { return seconds_.empty() ? 0 : *std::max_element(seconds_.begin(), seconds_.end()); }

}  // namespace tarnwell::bench
