// The processor time this process has used, for telling work that waits
// (for a disk, a network, a lock) from work that keeps processors busy.
#pragma once

namespace tarnwell {

// Processor time (user and system) of the whole process so far, all its
// threads together, in seconds. Where the system counts it in clock ticks
// (Windows, Wine) it moves in steps of 10-16 ms, so it is read over spans
// of several ticks. 0 when the system does not tell.
double ProcessProcessorSeconds();

// Processor time of the calling thread so far, in seconds, to a microsecond
// or better: a listing's own share of the processor tells a listing that
// waits for the storage from one that works. Negative where the system
// cannot count one thread's time that finely.
double ThreadProcessorSeconds();

}  // namespace tarnwell
