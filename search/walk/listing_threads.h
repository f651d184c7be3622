// How many threads list folders for a search. Where a folder's listing waits
// for the storage (a share answers each request after a network round trip,
// a cold disk after a seek), many listings in flight at once finish in
// little more than the time of one, and the walk goes as fast as the
// storage can answer them; where listing keeps the processors busy (a warm
// local disk), threads beyond the processors only take turns; where the
// system lists one folder at a time (Wine), a second thread overlaps only
// the walk's matching with the listing, and more make every listing slower.
// No fixed count is right everywhere, so by default the count follows what
// the listings do: time is cut into periods, and after each the choice sees
// how many listings were made, how much processor time the process used,
// how much of their time timed listings spent on a processor and how long
// helpers found nothing to list, and sets the threads of the next period.
#pragma once

#include <cstdint>
#include <optional>

namespace tarnwell {

// What one period measured, with the threads the choice had set for it.
struct ListingPeriod {
  double seconds = 0;            // wall time
  std::uint64_t listings = 0;    // folders listed by every thread
  double processorSeconds = 0;   // processor time of the whole process
  double idleHelperSeconds = 0;  // summed over the helpers allowed to list: time they found nothing to list
  // Over a sample of the period's listings: their wall time, summed, and
  // the processor time their threads used meanwhile (negative where the
  // system does not count one thread's time finely).
  double listingSeconds = 0;
  double listingProcessorSeconds = -1;
};

// The threads that list for a search, period by period. Threads() counts
// the walk's own thread with the helpers, as SearchOptions::walkThreads does.
class ListingThreadChoice {
 public:
  virtual ~ListingThreadChoice() = default;
  virtual int Threads() const = 0;
  // Threads() is never above this.
  virtual int MostThreads() const = 0;
  // A period listed with Threads() threads has ended; Threads() may change.
  virtual void PeriodEnded(const ListingPeriod& period) = 0;
};

struct ListingThreadRange {
  int start = 2;       // threads of the first period
  int least = 1;       // the walk alone
  int most = 32;
  int processors = 2;  // logical processors
};

// The default choice: a climb that doubles or halves the threads and keeps
// a change only when the listings a second show it pays.
//
// - Listings wait when the process uses well under the processors that its
//   listing threads could keep busy (under 70 % of min(threads,
//   processors)), or when the listings themselves use under 70 % of their
//   wall time on the processor (a sample of them is timed; this is known
//   only while the threads do not outnumber the processors, and what it
//   said last holds above). Only then, or while the threads are fewer than
//   the processors, are more threads tried, and only when no helper sat
//   idle for a quarter of the period (with nothing to list, more threads
//   could not list more). Fewer threads are tried when listings wait or the
//   threads outnumber the processors; on a warm local disk that keeps every
//   processor busy the count stays where it started.
// - The first period shows the walk starting, not the storage: it is
//   judged only by the listings' own share of the processor. Where they
//   wait, four times the threads are tried at once (a cold disk's walk of
//   a few hundred milliseconds has no periods to spare); otherwise nothing
//   changes.
// - A try lasts one period and is held against the mean of the last three
//   periods of holding (one period of a busy machine scatters too much).
//   More threads (twice as many; four times while the process keeps under
//   30 % of those processors busy, or the listings use under 30 % of their
//   time) stay when they list at least 15 % more a second, and the climb
//   goes on at once; half the threads stay when they list at least 5 % more
//   (where listings wait, a descent too far costs the most), and the
//   descent goes on. A try that does not pay goes back;
//   after a failed try one the other way follows at once, unless the count
//   was just reached from that way or a try has failed at it before. The
//   count then holds for 4 periods, four times as long after each further
//   try that changed nothing (at most 64 periods; 2 after a change that
//   stayed, unless it went back to the count before the last change), and
//   the next try turns the other way when both are open.
class ThroughputChoice final : public ListingThreadChoice {
 public:
  explicit ThroughputChoice(ListingThreadRange range);
  int Threads() const override { return threads_; }
  int MostThreads() const override { return range_.most; }
  void PeriodEnded(const ListingPeriod& period) override;

 private:
  enum class Way : std::uint8_t { None, Up, Down };
  // Whether a try that way is open from the current threads, by the signs of the last period.
  bool Open(Way way, bool waiting, bool starved) const;
  // Twice the threads or half; four times where the processors are mostly idle.
  void Try(Way way, bool idle);
  void Hold(bool changed);

  ListingThreadRange range_;
  int threads_;
  Way trying_ = Way::None;     // the way of the try under way
  int base_ = 0;               // the threads before the try
  double baseRate_ = 0;        // listings a second with base_ (or threads_ while holding)
  int rateSamples_ = 0;        // periods in baseRate_, at most kRateSamples
  Way arrived_ = Way::None;    // the way of the last try that stayed
  int previous_ = 0;           // the threads before the last try that stayed
  Way lastTry_ = Way::None;
  bool fresh_ = true;          // no try has failed since the threads were reached
  int holdLeft_ = 1;           // periods before the next try
  int hold_ = 4;               // the length of the next hold after a try that did not pay
  bool started_ = false;       // the first period, the walk's start, has passed
  bool storageWaits_ = false;  // the listings' own share of the processor said so, when last known
};

// Threads asked for by the environment variable TARNWELL_WALK_THREADS (1 to
// 64), which fixes the count of every search; nothing when it is unset or
// holds anything else.
std::optional<int> WalkThreadsFromEnvironment();

// Where the default choice starts and how far it goes: from the logical
// processors (at most 8) up to 32 threads; under Wine, whose listing calls
// wait for each other, from the walk alone and never more than 2 threads
// (whether one helper pays differs from machine to machine: it is tried as
// the walk goes).
ListingThreadRange DefaultListingThreadRange();

}  // namespace tarnwell
