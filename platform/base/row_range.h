// A run of neighbouring rows of a list: rows first to last - 1.
#pragma once

namespace tarnwell {

struct RowRange {
  int first;
  int last;  // one past the run's last row
};

}  // namespace tarnwell
