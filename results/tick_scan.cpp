#include "results/tick_scan.h"

namespace tarnwell {

int ScanTickedRows(ResultList& list, ResultHost& host, const Text& progressText, ScanOrder order,
                   const TickedRowAction& action, const BatchProgress& progress) {
  const int rowsAtStart = list.RowCount();
  if (rowsAtStart == 0) return 0;
  const ResultList::RowId lastIdAtStart = list.IdOf(rowsAtStart - 1);
  ResultList::RowId visited = ResultList::kNoRow;
  int ticked = 0;
  for (int visit = 0; visit < rowsAtStart; ++visit) {
    if (host.WindowClosed() || progress.StopRequested()) break;
    if (order == ScanOrder::StatusThenEvents) host.SetStatus(progressText);
    host.ProcessPendingEvents();
    if (host.WindowClosed() || progress.StopRequested()) break;
    if (order == ScanOrder::EventsThenStatus) host.SetStatus(progressText);
    int row = list.FirstRowAfter(visited);
    if (row < 0 || list.IdOf(row) > lastIdAtStart) break;  // no row of the start is left
    visited = list.IdOf(row);
    if (!list.IsChecked(row)) continue;
    ++ticked;
    action(visited, list.RowText(row));
  }
  return ticked;
}

}  // namespace tarnwell
