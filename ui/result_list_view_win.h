// The result list control (超级列表框1): the check-box list view shows the
// ResultList, the one store of results, and follows its changes. The list
// operations of the program's logic work on the store; the control only
// shows it and keeps the selection.
#pragma once

#include <windows.h>

#include "platform/window/check_list_view_win.h"
#include "results/result_list.h"

namespace tarnwell {

class ResultListView final : public CheckListSource {
 public:
  explicit ResultListView(ResultList& rows);
  ResultListView(const ResultListView&) = delete;
  ResultListView& operator=(const ResultListView&) = delete;
  ~ResultListView();

  void Attach(HWND list);
  CheckListView& View() { return view_; }

  int RowCount() const override { return rows_.RowCount(); }
  Text RowText(int row) const override { return rows_.RowText(row); }
  bool IsChecked(int row) const override { return rows_.IsChecked(row); }
  void ToggleCheck(int row) override { rows_.SetChecked(row, !rows_.IsChecked(row)); }
  void SetChecked(std::span<const RowRange> runs, bool checked) override;

 private:
  ResultList& rows_;
  CheckListView view_;
};

}  // namespace tarnwell
