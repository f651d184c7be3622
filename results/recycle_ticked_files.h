// The delete that sends the ticked files to the Recycle Bin: the files go to
// the host in batches as the scan of ticked rows visits them, and only the
// rows whose file is gone afterwards are to be removed. A file that could not
// be recycled keeps its row and its tick.
#pragma once

#include <vector>

#include "results/file_work.h"
#include "results/operation_record.h"
#include "results/result_list.h"

namespace tarnwell {

// Runs the scan with the delete's in-progress text; appends to `removals` the
// ids of the rows whose file is gone, and writes each file's outcome into
// `record`. Returns the number of ticked rows visited and acted on: when the
// window is closed or the batch stopped, the rows gathered since the last
// group stay as they are and are not counted.
int RecycleTickedFiles(ResultList& list, FileWork& work, OperationRecord& record,
                       std::vector<ResultList::RowId>& removals);

}  // namespace tarnwell
