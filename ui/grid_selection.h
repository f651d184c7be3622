// The selection of the thumbnail grid, kept as the result list's control
// keeps its own: runs of selected rows, a focused row, and an anchor that
// Shift extends from. It starts empty, and empties when the rows change
// places (a removal, a new search), as the list's does.
#pragma once

#include <span>
#include <vector>

#include "platform/base/row_range.h"
#include "results/result_list.h"

namespace tarnwell {

class GridSelection {
 public:
  int Focus() const { return focus_; }
  bool Selected(int row) const;
  // Ascending, none touching another.
  const std::vector<RowRange>& Runs() const { return runs_; }

  // A click, or an arrow key: the row alone, focused and the anchor.
  void Choose(int row);
  // Ctrl+click: the row in or out of the selection, focused and the anchor.
  void Flip(int row);
  // Shift+click, Shift+arrow: the rows from the anchor to this one, focused.
  void ExtendTo(int row);
  // Ctrl+arrow: the focus moves; the selection stays.
  void MoveFocus(int row) { focus_ = row; }
  // Ctrl+A.
  void SelectAll(int rowCount);
  // Rows changed places: nothing selected; the focus on `focus` (-1: none).
  void Reset(int focus);

  // Space, by the list's rule: a focused row outside the selection (or no
  // selection) is toggled alone; otherwise every selected row is ticked
  // when the focused row (else the first selected one) is unticked, and
  // unticked when it is ticked.
  void Space(ResultList& rows) const;

 private:
  std::vector<RowRange> runs_;
  int focus_ = -1;
  int anchor_ = -1;
};

}  // namespace tarnwell
