// Deleting the ticked files, after a confirmation, and removing their rows.
// When the host says so, the files go to the Recycle Bin instead, and only
// the rows whose file is gone are removed.
#pragma once

#include "results/result_host.h"
#include "results/result_list.h"

namespace tarnwell {

void BatchDelete(ResultList& list, ResultHost& host);

}  // namespace tarnwell
