#include "pictures/worker_priority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace tarnwell {

// On Linux a thread's nice value is its own: raising it lowers this thread only.
void LowerWorkerPriority() { setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10); }

}  // namespace tarnwell
