#include "ui/result_list_view_win.h"

namespace tarnwell {

ResultListView::ResultListView(ResultList& rows) : rows_(rows) {}

ResultListView::~ResultListView() { rows_.SetListener(nullptr); }

void ResultListView::Attach(HWND list) {
  view_.Attach(list, *this);
  rows_.SetListener([this](ResultList::Change change, int row) {
    switch (change) {
      case ResultList::Change::Appended: view_.RowsAppended(); break;
      case ResultList::Change::Reset: view_.RowsReset(); break;
      case ResultList::Change::RowChanged: view_.RowChanged(row); break;
      case ResultList::Change::AllTicks: view_.AllRowsChanged(); break;
    }
  });
}

int InsertRow(ResultList& rows) {
  rows.AppendPath({});
  return rows.RowCount() - 1;
}

void SetRowText(ResultList& rows, int row, int column, const Text& text) {
  if (column == 0) rows.SetRowText(row, text);
}

int GetRowCheck(const ResultList& rows, int row) {
  if (row < 0 || row >= rows.RowCount()) return -1;
  return rows.IsChecked(row) ? 1 : 0;
}

}  // namespace tarnwell
