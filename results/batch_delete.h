// Deleting the ticked files, after a confirmation, and removing their rows.
#pragma once

#include "results/result_host.h"
#include "results/result_list.h"

namespace tarnwell {

void BatchDelete(ResultList& list, ResultHost& host);

}  // namespace tarnwell
