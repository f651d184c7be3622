#include "ui/grid_selection.h"

#include <algorithm>

namespace tarnwell {

bool GridSelection::Selected(int row) const {
  auto after = std::upper_bound(runs_.begin(), runs_.end(), row,
                                [](int value, const RowRange& run) { return value < run.first; });
  return after != runs_.begin() && row < std::prev(after)->last;
}

void GridSelection::Choose(int row) {
  runs_ = {{row, row + 1}};
  focus_ = anchor_ = row;
}

void GridSelection::Flip(int row) {
  std::vector<RowRange> runs;
  bool was = false;
  for (const RowRange& run : runs_) {
    if (row >= run.first && row < run.last) {
      was = true;
      if (run.first < row) runs.push_back({run.first, row});
      if (row + 1 < run.last) runs.push_back({row + 1, run.last});
    } else {
      runs.push_back(run);
    }
  }
  if (!was) {
    runs.push_back({row, row + 1});
    std::sort(runs.begin(), runs.end(), [](const RowRange& a, const RowRange& b) { return a.first < b.first; });
    // Join the runs the row now touches.
    std::vector<RowRange> joined;
    for (const RowRange& run : runs) {
      if (!joined.empty() && joined.back().last == run.first) {
        joined.back().last = run.last;
      } else {
        joined.push_back(run);
      }
    }
    runs = std::move(joined);
  }
  runs_ = std::move(runs);
  focus_ = anchor_ = row;
}

void GridSelection::ExtendTo(int row) {
  const int from = anchor_ >= 0 ? anchor_ : row;
  runs_ = {{std::min(from, row), std::max(from, row) + 1}};
  anchor_ = from;
  focus_ = row;
}

void GridSelection::SelectAll(int rowCount) {
  runs_.clear();
  if (rowCount > 0) runs_.push_back({0, rowCount});
}

void GridSelection::Reset(int focus) {
  runs_.clear();
  focus_ = anchor_ = focus;
}

void GridSelection::Space(ResultList& rows) const {
  if (focus_ >= 0 && !Selected(focus_)) {
    rows.SetChecked(focus_, !rows.IsChecked(focus_));
    return;
  }
  if (runs_.empty()) return;
  const int decider = focus_ >= 0 ? focus_ : runs_.front().first;
  rows.SetRowsChecked(runs_, !rows.IsChecked(decider));
}

}  // namespace tarnwell
