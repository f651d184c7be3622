// Listing folders ahead of a walk on helper threads. A walk takes its
// folders' listings one by one in walk order (depth first, subfolders in
// listing order); meanwhile the helpers of a ListingPool list the folders
// that come next, nearest first, so that on a machine where listing waits
// for the disk or can use several processors the walk rarely waits. What the
// walk does with a listing, and in which order, does not change: only who
// lists a folder, and when.
//
// Every folder is listed once, by whichever thread gets to it first: a
// helper, or the walk itself when it needs a folder nobody has started (and,
// while it waits for one a helper is listing, it lists the next one itself).
// A listing that fails (the folder is there but could not be read to its
// end) is made once more, by the walk itself; the second outcome stands.
// A walk holds at most ListingLimits::folders listings made ahead of it, and
// starts no more while those hold ListingLimits::bytes or more; several walks
// (the roots of one search) share the helpers, each helper turning to the
// walk that has the fewest listings ahead, so no walk is starved.
//
// A pool has a fixed number of helpers, or lets a ListingThreadChoice
// (search/walk/listing_threads.h) set how many may list, period by period:
// helpers start when first wanted and rest, after the listing they are
// making, while fewer are wanted.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <queue>
#include <thread>
#include <vector>

#include "platform/files/directory_listing.h"
#include "platform/text/text.h"
#include "search/walk/listing_threads.h"

namespace tarnwell {

// How far the helpers may list ahead of one walk.
struct ListingLimits {
  // Listings made ahead and not yet taken by the walk, those being made
  // included: 256 folders keep a few milliseconds of work ahead natively and
  // a hundred milliseconds on a slow disk, without holding much.
  std::size_t folders = 256;
  // No listing ahead starts while those made hold this much: a walk holds
  // at most this plus one listing per thread in memory ahead of it (a
  // listing costs its names' bytes plus about 12 bytes an entry).
  std::size_t bytes = std::size_t{16} << 20;
};

// How long a period of a pool whose threads a choice sets lasts: at least
// `seconds` and `listings` listings, or `longest` seconds once it has
// `fewest` listings (storage so slow that a period of `listings` would leave
// the choice no time to act).
struct ListingPeriodLength {
  double seconds = 0.05;
  std::uint64_t listings = 16;
  double longest = 1.0;
  std::uint64_t fewest = 4;
};

// A folder of a walk: its path, its place in walk order, and once it has
// been listed, its listing and the subfolders the walk enters (in listing
// order; never links, nor those whose name ends in ".").
class WalkFolder {
 public:
  const Text& Path() const { return path_; }
  // How its listing went, once taken: Failed only when a second listing,
  // made by the walk itself, failed too.
  ListingOutcome Outcome() const { return outcome_; }
  std::size_t SubfolderCount() const { return subfolders_.size(); }
  WalkFolder& Subfolder(std::size_t i) { return *subfolders_[i]; }

 private:
  friend class ListingPool;
  friend class WalkListings;
  enum class State : std::uint8_t { Waiting, Listing, Listed, Taken };

  Text path_;
  // Walk order: the subfolder numbers from the root down to this folder.
  // Folders compare in walk order as these compare lexicographically.
  std::vector<std::uint32_t> order_;
  DirectoryListing listing_;
  std::size_t bytes_ = 0;  // what the listing holds (names and entries)
  std::vector<std::unique_ptr<WalkFolder>> subfolders_;
  State state_ = State::Waiting;
  ListingOutcome outcome_ = ListingOutcome::Missing;
  std::uint8_t listings_ = 0;  // listings made of it: a failed one is made once more
  bool queued_ = false;  // in its walk's queue, for a helper to list
  bool ahead_ = false;   // listed ahead of the walk: counts against its limits
};

class WalkListings;

// What one listing took, when it was timed for a pool's choice: its wall
// time and its thread's processor time meanwhile (negative when not timed
// or where the system does not count one thread's time finely).
struct ListingTime {
  double seconds = 0;
  double processorSeconds = -1;
};

// The helper threads one search shares between its walks. They live until
// Stop (or destruction), which every walk must have ended before.
class ListingPool {
 public:
  // `helpers` helper threads, all listing all along.
  explicit ListingPool(int helpers, ListingLimits limits = {});
  // As many threads as `choice` sets, the walk's own counted, each period.
  ListingPool(std::unique_ptr<ListingThreadChoice> choice, ListingLimits limits = {},
              ListingPeriodLength period = {});
  ~ListingPool();
  ListingPool(const ListingPool&) = delete;
  ListingPool& operator=(const ListingPool&) = delete;

  // Ends the helpers, each after the listing it is making, and joins them.
  void Stop();

  // Threads that may list now, the walk's own counted, and the most there
  // were at once so far.
  int Threads() const;
  int MostThreads() const;

  // With a choice: the share of the time its periods lasted that listed
  // with another number of threads than now (what its tries took); 0 without.
  double ShareAwayFromThreadsNow() const;

  // For tests: helpers waiting for work they are allowed to take.
  int IdleHelpers() const;

 private:
  friend class WalkListings;
  struct LaterInWalkOrder {
    bool operator()(const WalkFolder* a, const WalkFolder* b) const { return a->order_ > b->order_; }
  };
  using Queue = std::priority_queue<WalkFolder*, std::vector<WalkFolder*>, LaterInWalkOrder>;

  using Clock = std::chrono::steady_clock;

  // Helper number `index`'s thread body: serves the walks until Stop.
  void RunHelper(int index);
  void ServeWalks(int index);
  // The walk a helper serves next, or nothing; under the lock.
  WalkListings* NextWalk();
  // Under the lock: lets threads - 1 helpers list, starting those not yet running.
  void SetThreads(int threads);
  // Under the lock: a listing was made (or failed); ends the period when it is due.
  void Counted(ListingTime time);
  // Under the lock: adds the idle helpers' time up to `now`, before their number changes.
  void AccrueIdle(Clock::time_point now);
  // Under the lock: a new period starts at `now`.
  void StartPeriod(Clock::time_point now);

  ListingLimits limits_;
  mutable std::mutex mutex_;
  std::condition_variable work_;     // helpers allowed to list wait here for work
  std::condition_variable resting_;  // helpers not allowed to list wait here
  std::vector<WalkListings*> walks_;
  std::size_t nextWalk_ = 0;  // where the search for the least served walk starts (round robin on ties)
  int idle_ = 0;              // helpers allowed to list that wait for work
  int allowed_ = 0;           // helpers allowed to list: those numbered below it
  int mostAllowed_ = 0;
  int mostHelpers_ = 0;       // helpers that may ever run
  bool stopping_ = false;
  // Changed under the lock and only before stopping_ is set.
  std::vector<std::thread> threads_;

  // With a choice: the period under way.
  std::unique_ptr<ListingThreadChoice> choice_;
  ListingPeriodLength periodLength_;
  Clock::time_point periodStart_;
  std::uint64_t periodListings_ = 0;
  double periodProcessorStart_ = 0;
  double periodIdleSeconds_ = 0;
  double periodListingSeconds_ = 0;            // over the timed listings
  double periodListingProcessorSeconds_ = -1;  // negative until one is timed
  // The periods' seconds by the threads that listed in them.
  std::vector<double> secondsAtThreads_;
  Clock::time_point idleSince_;
  // After a change of threads, listings are not counted until then.
  bool settling_ = false;
  Clock::time_point settleUntil_;
};

// The pool for a search that lists with `walkThreads` threads, the walks'
// own included (SearchOptions::walkThreads): none for 1 (each walk lists
// alone), fixed helpers for more; for 0 the threads of
// TARNWELL_WALK_THREADS, or without it the default choice, which sets them
// as the listings go (DefaultListingThreadRange).
std::unique_ptr<ListingPool> NewListingPool(int walkThreads);

// One walk's listings, in walk order, from a pool's helpers or made on the
// walk's own thread (without a pool, always). Lives on the walk's thread;
// its destructor withdraws the folders no helper has started and waits for
// those being listed, so that nothing lists for the walk once it is gone.
class WalkListings {
 public:
  WalkListings(ListingPool* pool, const DirectoryLister& lister, const std::atomic<bool>& cancelled);
  ~WalkListings();
  WalkListings(const WalkListings&) = delete;
  WalkListings& operator=(const WalkListings&) = delete;

  // The walk's root folder, not yet listed.
  WalkFolder& Root(const Text& path);

  // The folder's listing, made by now: taken as a helper made it, or made
  // here. Folders must be taken in walk order. The listing stays valid until
  // Release, the subfolders until Forget.
  const DirectoryListing& Take(WalkFolder& folder);
  // The walk is done with the folder's listing.
  void Release(WalkFolder& folder);
  // The walk is done with the folder's subfolders (all taken and released).
  void Forget(WalkFolder& folder);

 private:
  friend class ListingPool;

  // Who a listing is made for: ahead of the walk (a failure is left for the
  // walk to try again), or the walk itself, when it needs the folder now.
  enum class ListingFor { Ahead, Walk };
  // Lists `folder` into a spare listing and makes its subfolders; outside
  // the lock. A listing for the walk is made again when it fails and it was
  // the folder's first. Returns what the listing took when it was timed.
  ListingTime List(WalkFolder& folder, DirectoryListing spare, ListingFor whom);
  // Under the lock: the listing of `folder` is made (or failed); its
  // subfolders join the queue and whoever waits for it is told.
  void Listed(WalkFolder& folder, bool made, ListingTime time);
  bool MayListAhead() const;
  // Under the lock (when there is a pool): a spare listing to list into.
  DirectoryListing TakeSpare();
  // Lists the first queued folder ahead of the walk, on a helper or on the
  // walk's own thread; with the pool's lock held on entry and exit.
  void ListAhead(std::unique_lock<std::mutex>& lock, bool helper);

  ListingPool* pool_;
  const DirectoryLister& lister_;
  const std::atomic<bool>& cancelled_;
  ListingPool::Queue queue_;
  std::condition_variable listed_;  // the walk waits here for a helper's listing
  bool walkWaiting_ = false;
  int helpersListing_ = 0;  // listings being made for this walk by helpers
  std::size_t ahead_ = 0;
  std::size_t bytesAhead_ = 0;
  std::vector<DirectoryListing> spares_;
  std::unique_ptr<WalkFolder> root_;
};

}  // namespace tarnwell
