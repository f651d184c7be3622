// The picture threads run below the window thread and the search: they
// only fill in pictures.
#pragma once

namespace tarnwell {

// Lowers the calling thread's scheduling priority.
void LowerWorkerPriority();

}  // namespace tarnwell
