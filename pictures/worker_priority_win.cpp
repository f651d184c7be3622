#include "pictures/worker_priority.h"

#include <windows.h>

namespace tarnwell {

void LowerWorkerPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); }

}  // namespace tarnwell
