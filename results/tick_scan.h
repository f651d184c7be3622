// The scan of ticked rows that delete, copy and move share. It visits the
// rows present when it starts, in ascending order; at each visit it shows
// the operation's in-progress text and lets pending window events run, then
// reads the row's tick at that moment and runs the action for a ticked row.
// When the window has been closed, or the batch asked to stop, by those
// events, by the events while the action ran, or before the scan, the scan
// ends before its next action: no later row is touched. (The action's own
// file work stops as the batch's progress asks it to.)
// Rows are followed by their ids, so rows appended, removed or cleared while
// events run never make the scan visit a wrong row: appended rows are never
// visited, and a row that is gone is simply not visited.
#pragma once

#include <functional>

#include "results/batch_progress.h"
#include "results/result_host.h"
#include "results/result_list.h"

namespace tarnwell {

enum class ScanOrder { StatusThenEvents, EventsThenStatus };

using TickedRowAction = std::function<void(ResultList::RowId id, const Text& path)>;

// Returns the number of ticked rows visited.
int ScanTickedRows(ResultList& list, ResultHost& host, const Text& progressText, ScanOrder order,
                   const TickedRowAction& action, const BatchProgress& progress);

}  // namespace tarnwell
