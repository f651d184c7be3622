#include "ui/result_list_view_win.h"

#include <vector>

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

void ResultListView::SetChecked(std::span<const RowRange> runs, bool checked) { rows_.SetRowsChecked(runs, checked); }

}  // namespace tarnwell
