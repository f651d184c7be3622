// Deleting the ticked files, after a confirmation, and removing their rows.
// When the host says so, the files go to the Recycle Bin instead, and only
// the rows whose file is gone are removed. The files are acted on by the
// host's worker thread, one at a time, while the window answers; a stop
// (or the window closed) ends the batch before its next file.
#pragma once

#include "results/batch_progress.h"
#include "results/result_host.h"
#include "results/result_list.h"

namespace tarnwell {

// `progress`, when given, is what the progress window watches and stops.
void BatchDelete(ResultList& list, ResultHost& host, BatchProgress* progress = nullptr);

}  // namespace tarnwell
