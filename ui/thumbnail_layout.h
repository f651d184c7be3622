// Where each row of the result list lies in the thumbnail grid: cells of
// one size, left to right and top to bottom, as many columns as the window
// is wide; the grid scrolls by whole lines of cells. All in pixels of the
// window's client area.
#pragma once

#include <algorithm>
#include <vector>

namespace tarnwell {

struct CellPlace {
  int left, top, right, bottom;
};

class ThumbnailLayout {
 public:
  void Resize(int clientWidth, int clientHeight, int cellWidth, int cellHeight) {
    clientWidth_ = std::max(clientWidth, 0);
    clientHeight_ = std::max(clientHeight, 0);
    cellWidth_ = std::max(cellWidth, 1);
    cellHeight_ = std::max(cellHeight, 1);
  }

  int Columns() const { return std::max(1, clientWidth_ / cellWidth_); }
  int Lines(int rowCount) const { return (rowCount + Columns() - 1) / Columns(); }
  // Lines wholly in view (at least one).
  int LinesInView() const { return std::max(1, clientHeight_ / cellHeight_); }
  // The first line in view for the scroll position wanted, kept in range.
  int ClampTopLine(int topLine, int rowCount) const {
    return std::clamp(topLine, 0, std::max(0, Lines(rowCount) - LinesInView()));
  }
  // Rows [first, last) shown, a line cut off at the bottom included.
  int FirstShown(int topLine) const { return topLine * Columns(); }
  int EndShown(int topLine, int rowCount) const {
    const int lines = (clientHeight_ + cellHeight_ - 1) / cellHeight_;
    return std::min(rowCount, (topLine + lines) * Columns());
  }
  // The line `row` lies on, and the top line that brings it into view
  // with the least scrolling.
  int LineOf(int row) const { return row / Columns(); }
  int TopLineShowing(int row, int topLine) const {
    const int line = LineOf(row);
    if (line < topLine) return line;
    if (line >= topLine + LinesInView()) return line - LinesInView() + 1;
    return topLine;
  }
  // Where the row's cell is; the grid's columns are centred in the window.
  CellPlace Cell(int row, int topLine) const {
    const int margin = (clientWidth_ - Columns() * cellWidth_) / 2;
    const int left = std::max(margin, 0) + (row % Columns()) * cellWidth_;
    const int top = (LineOf(row) - topLine) * cellHeight_;
    return {left, top, left + cellWidth_, top + cellHeight_};
  }
  // The row whose cell holds the point, or -1.
  int RowAt(int x, int y, int topLine, int rowCount) const {
    const int margin = std::max((clientWidth_ - Columns() * cellWidth_) / 2, 0);
    if (x < margin || y < 0) return -1;
    const int column = (x - margin) / cellWidth_;
    if (column >= Columns()) return -1;
    const int row = (topLine + y / cellHeight_) * Columns() + column;
    return row < rowCount ? row : -1;
  }

 private:
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  int cellWidth_ = 1;
  int cellHeight_ = 1;
};

// The rows whose pictures are wanted, most wanted first: those shown, then
// a page of rows ahead in the direction the grid last scrolled.
inline std::vector<int> WantedRows(int firstShown, int endShown, int rowCount, bool scrollingUp) {
  std::vector<int> rows;
  const int page = std::max(endShown - firstShown, 0);
  for (int row = firstShown; row < endShown; ++row) rows.push_back(row);
  if (scrollingUp) {
    for (int row = firstShown - 1; row >= std::max(0, firstShown - page); --row) rows.push_back(row);
  } else {
    for (int row = endShown; row < std::min(rowCount, endShown + page); ++row) rows.push_back(row);
  }
  return rows;
}

}  // namespace tarnwell
