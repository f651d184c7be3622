#include "search/walk/listing_pool.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/base/entry_guard.h"
#include "platform/base/invariant.h"
#include "platform/base/processor_time.h"

namespace tarnwell {
namespace {

// Spare listings are kept for reuse, so that listing folder after folder
// does not allocate once the buffers have grown; a listing that held more
// than this is freed instead, so spares never pin a huge folder's buffers.
constexpr std::size_t kLargestSpare = std::size_t{1} << 20;
// Per entry, besides its name: the entry record and a share of growth.
constexpr std::size_t kEntryBytes = 12;
// The longest wait for the listings of the threads before a change to end
// (storage so slow that a listing takes longer is judged with some of them).
constexpr double kLongestSettle = 0.25;
// A thread times a listing for the choice when this long has passed since
// the last it timed: reading a thread's processor time is a system call
// (1.3 us on a virtual machine), and timing every listing would cost a warm
// walk about 10 %. A period of 50 ms still has dozens timed a thread, and
// where a listing takes a millisecond or more (a share) all are timed.
constexpr std::chrono::microseconds kTimedEvery{1000};

}  // namespace

// ---------------------------------------------------------------------------
// ListingPool

ListingPool::ListingPool(int helpers, ListingLimits limits) : limits_(limits) {
  std::lock_guard lock(mutex_);
  mostHelpers_ = std::max(0, helpers);
  SetThreads(helpers + 1);
}

ListingPool::ListingPool(std::unique_ptr<ListingThreadChoice> choice, ListingLimits limits,
                         ListingPeriodLength period)
    : limits_(limits), choice_(std::move(choice)), periodLength_(period) {
  std::lock_guard lock(mutex_);
  mostHelpers_ = std::max(0, choice_->MostThreads() - 1);
  idleSince_ = Clock::now();
  StartPeriod(idleSince_);
  SetThreads(choice_->Threads());
}

ListingPool::~ListingPool() { Stop(); }

void ListingPool::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  work_.notify_all();
  resting_.notify_all();
  for (std::thread& thread : threads_) thread.join();
  threads_.clear();
}

int ListingPool::IdleHelpers() const {
  std::lock_guard lock(mutex_);
  return idle_;
}

int ListingPool::Threads() const {
  std::lock_guard lock(mutex_);
  return allowed_ + 1;
}

int ListingPool::MostThreads() const {
  std::lock_guard lock(mutex_);
  return mostAllowed_ + 1;
}

double ListingPool::ShareAwayFromThreadsNow() const {
  std::lock_guard lock(mutex_);
  double all = 0;
  for (double seconds : secondsAtThreads_) all += seconds;
  const std::size_t now = static_cast<std::size_t>(allowed_ + 1);
  const double away = all - (now < secondsAtThreads_.size() ? secondsAtThreads_[now] : 0);
  return all > 0 ? away / all : 0;
}

void ListingPool::RunHelper(int index) {
  CatchAtEntry("a listing helper", [this, index] { ServeWalks(index); });
}

void ListingPool::ServeWalks(int index) {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (index >= allowed_) {
      // A wake-up for work that reached a helper about to rest goes on to
      // one that may take it.
      if (idle_ > 0) work_.notify_one();
      resting_.wait(lock);
      continue;
    }
    WalkListings* walk = NextWalk();
    if (walk == nullptr) {
      if (choice_) AccrueIdle(Clock::now());
      ++idle_;
      work_.wait(lock);
      if (choice_) AccrueIdle(Clock::now());
      --idle_;
      continue;
    }
    walk->ListAhead(lock, true);
  }
}

void ListingPool::SetThreads(int threads) {
  if (stopping_) return;
  int helpers = std::clamp(threads - 1, 0, mostHelpers_);
  while (static_cast<int>(threads_.size()) < helpers) {
    const int index = static_cast<int>(threads_.size());
    try {
      threads_.emplace_back([this, index] { RunHelper(index); });
    } catch (const std::system_error&) {
      // Fewer helpers: the walks list the rest themselves.
      mostHelpers_ = helpers = index;
    }
  }
  if (helpers > allowed_) {
    resting_.notify_all();
  } else if (helpers < allowed_) {
    work_.notify_all();  // the idle ones beyond the count go to rest
  }
  allowed_ = helpers;
  mostAllowed_ = std::max(mostAllowed_, allowed_);
}

void ListingPool::Counted(ListingTime time) {
  if (!choice_ || stopping_) return;
  const Clock::time_point now = Clock::now();
  if (settling_) {
    if (now < settleUntil_) return;
    settling_ = false;
    StartPeriod(now);
  }
  ++periodListings_;
  if (time.processorSeconds >= 0) {
    periodListingSeconds_ += time.seconds;
    periodListingProcessorSeconds_ = std::max(0.0, periodListingProcessorSeconds_) + time.processorSeconds;
  }
  const double seconds = std::chrono::duration<double>(now - periodStart_).count();
  const bool full = periodListings_ >= periodLength_.listings && seconds >= periodLength_.seconds;
  const bool overdue = periodListings_ >= periodLength_.fewest && seconds >= periodLength_.longest;
  if (!full && !overdue) return;
  AccrueIdle(now);
  const ListingPeriod ended{seconds,
                            periodListings_,
                            ProcessProcessorSeconds() - periodProcessorStart_,
                            periodIdleSeconds_,
                            periodListingSeconds_,
                            periodListingProcessorSeconds_};
  const std::size_t threadsNow = static_cast<std::size_t>(allowed_ + 1);
  if (secondsAtThreads_.size() <= threadsNow) secondsAtThreads_.resize(threadsNow + 1);
  secondsAtThreads_[threadsNow] += seconds;
  choice_->PeriodEnded(ended);
  const int before = allowed_ + 1;
  SetThreads(choice_->Threads());
  if (allowed_ + 1 == before) {
    StartPeriod(now);
    return;
  }
  // The listings under way when the threads change were started by the
  // threads before; the next period counts from when they are done (about
  // one listing's time on one thread), so that neither count is judged by
  // the other's listings.
  const double oneListing = before * seconds / static_cast<double>(periodListings_);
  settling_ = true;
  settleUntil_ = now + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(std::min(oneListing, kLongestSettle)));
}

void ListingPool::StartPeriod(Clock::time_point now) {
  periodStart_ = now;
  periodListings_ = 0;
  periodProcessorStart_ = ProcessProcessorSeconds();
  periodIdleSeconds_ = 0;
  periodListingSeconds_ = 0;
  periodListingProcessorSeconds_ = -1;
}

void ListingPool::AccrueIdle(Clock::time_point now) {
  periodIdleSeconds_ += idle_ * std::chrono::duration<double>(now - idleSince_).count();
  idleSince_ = now;
}

WalkListings* ListingPool::NextWalk() {
  WalkListings* chosen = nullptr;
  std::size_t chosenAt = 0;
  for (std::size_t i = 0; i < walks_.size(); ++i) {
    std::size_t at = (nextWalk_ + i) % walks_.size();
    WalkListings* walk = walks_[at];
    if (walk->MayListAhead() && (chosen == nullptr || walk->ahead_ < chosen->ahead_)) {
      chosen = walk;
      chosenAt = at;
    }
  }
  if (chosen != nullptr) nextWalk_ = chosenAt + 1;
  return chosen;
}

// ---------------------------------------------------------------------------
// WalkListings

WalkListings::WalkListings(ListingPool* pool, const DirectoryLister& lister, const std::atomic<bool>& cancelled)
    : pool_(nullptr), lister_(lister), cancelled_(cancelled) {
  if (pool == nullptr) return;
  std::lock_guard lock(pool->mutex_);
  if (pool->mostHelpers_ == 0) return;  // no helper ever lists: the walk lists alone
  pool_ = pool;
  pool_->walks_.push_back(this);
}

WalkListings::~WalkListings() {
  if (pool_ != nullptr) {
    std::unique_lock lock(pool_->mutex_);
    auto self = std::find(pool_->walks_.begin(), pool_->walks_.end(), this);
    if (self != pool_->walks_.end()) pool_->walks_.erase(self);
    queue_ = ListingPool::Queue();
    // A helper that is listing one of this walk's folders writes into it.
    while (helpersListing_ > 0) {
      walkWaiting_ = true;
      listed_.wait(lock);
    }
    walkWaiting_ = false;
  }
  // A walk that stopped early leaves a chain of folders as deep as its
  // path; freeing it level by level keeps that off the thread's stack.
  std::vector<std::unique_ptr<WalkFolder>> left;
  if (root_) left.push_back(std::move(root_));
  while (!left.empty()) {
    std::unique_ptr<WalkFolder> folder = std::move(left.back());
    left.pop_back();
    for (auto& subfolder : folder->subfolders_) left.push_back(std::move(subfolder));
  }
}

WalkFolder& WalkListings::Root(const Text& path) {
  root_ = std::make_unique<WalkFolder>();
  root_->path_ = path;
  return *root_;
}

const DirectoryListing& WalkListings::Take(WalkFolder& folder) {
  if (pool_ == nullptr) {
    DirectoryListing spare;
    if (!spares_.empty()) {
      spare = std::move(spares_.back());
      spares_.pop_back();
    }
    List(folder, std::move(spare), ListingFor::Walk);
    folder.state_ = WalkFolder::State::Taken;
    return folder.listing_;
  }
  std::unique_lock lock(pool_->mutex_);
  for (;;) {
    switch (folder.state_) {
      case WalkFolder::State::Listed:
        folder.state_ = WalkFolder::State::Taken;
        folder.order_ = {};  // no longer compared: its subfolders have their own
        if (folder.ahead_) {
          folder.ahead_ = false;
          --ahead_;
          bytesAhead_ -= folder.bytes_;
          if (pool_->idle_ > 0 && MayListAhead()) pool_->work_.notify_one();
        }
        return folder.listing_;
      case WalkFolder::State::Waiting: {
        // Nobody has started it: the walk lists it now. Every folder before
        // it in walk order has been taken, so when it is queued it is the
        // first of the queue.
        if (folder.queued_) {
          // Another folder first would take the wrong listing's place: rows
          // out of walk order.
          TARNWELL_INVARIANT(queue_.top() == &folder);
          queue_.pop();
          folder.queued_ = false;
        }
        folder.state_ = WalkFolder::State::Listing;
        DirectoryListing spare = TakeSpare();
        lock.unlock();
        const ListingTime time = List(folder, std::move(spare), ListingFor::Walk);
        lock.lock();
        Listed(folder, true, time);
        break;
      }
      case WalkFolder::State::Listing:
        // A helper is listing it: rather than wait, list the next one.
        if (MayListAhead()) {
          ListAhead(lock, false);
        } else {
          walkWaiting_ = true;
          listed_.wait(lock);
          walkWaiting_ = false;
        }
        break;
      case WalkFolder::State::Taken:
        return folder.listing_;
    }
  }
}

void WalkListings::Release(WalkFolder& folder) {
  DirectoryListing done = std::move(folder.listing_);
  if (pool_ == nullptr) {
    // The walk alone reuses one listing all along, as large as its largest folder.
    spares_.push_back(std::move(done));
    return;
  }
  if (folder.bytes_ > kLargestSpare) return;  // freed here, outside the lock
  std::lock_guard lock(pool_->mutex_);
  if (spares_.size() <= pool_->threads_.size()) spares_.push_back(std::move(done));
}

void WalkListings::Forget(WalkFolder& folder) { folder.subfolders_.clear(); }

ListingTime WalkListings::List(WalkFolder& folder, DirectoryListing spare, ListingFor whom) {
  // Each thread times a listing for a pool's choice every kTimedEvery.
  using Clock = std::chrono::steady_clock;
  thread_local Clock::time_point nextTimed;
  ListingTime time;
  Clock::time_point start;
  const bool timed = pool_ != nullptr && pool_->choice_ != nullptr && Clock::now() >= nextTimed;
  if (timed) {
    // The processor time first: its first reading may measure the clock.
    time.processorSeconds = ThreadProcessorSeconds();
    start = Clock::now();
  }
  folder.outcome_ = lister_.List(folder.path_, spare);
  if (timed) {
    const Clock::time_point end = Clock::now();
    nextTimed = end + kTimedEvery;
    if (time.processorSeconds >= 0) {
      time.seconds = std::chrono::duration<double>(end - start).count();
      time.processorSeconds = std::max(0.0, ThreadProcessorSeconds() - time.processorSeconds);
    }
  }
  ++folder.listings_;
  if (whom == ListingFor::Walk && folder.outcome_ == ListingOutcome::Failed && folder.listings_ == 1) {
    folder.outcome_ = lister_.List(folder.path_, spare);
    ++folder.listings_;
  }
  std::vector<std::unique_ptr<WalkFolder>> subfolders;
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < spare.size(); ++i) {
    DirectoryEntry entry = spare[i];
    bytes += entry.name.size() + kEntryBytes;
    if (!WalkEnters(entry)) continue;
    auto subfolder = std::make_unique<WalkFolder>();
    subfolder->path_ = Concat(folder.path_, "\\", entry.name);
    if (pool_ != nullptr) {
      subfolder->order_.reserve(folder.order_.size() + 1);
      subfolder->order_ = folder.order_;
      subfolder->order_.push_back(static_cast<std::uint32_t>(subfolders.size()));
    }
    subfolders.push_back(std::move(subfolder));
  }
  folder.listing_ = std::move(spare);
  folder.bytes_ = bytes;
  folder.subfolders_ = std::move(subfolders);
  return time;
}

void WalkListings::Listed(WalkFolder& folder, bool made, ListingTime time) {
  pool_->Counted(time);
  if (!made) {
    // The walk lists it again when it comes to it (and ends if that fails too).
    folder.state_ = WalkFolder::State::Waiting;
    if (folder.ahead_) {
      folder.ahead_ = false;
      --ahead_;
    }
  } else {
    folder.state_ = WalkFolder::State::Listed;
    if (folder.ahead_) bytesAhead_ += folder.bytes_;
  }
  if (walkWaiting_) listed_.notify_one();
  if (!made || cancelled_.load(std::memory_order_relaxed)) return;
  std::size_t queued = 0;
  try {
    for (auto& subfolder : folder.subfolders_) {
      queue_.push(subfolder.get());
      subfolder->queued_ = true;
      ++queued;
    }
  } catch (...) {
    // Out of memory: the subfolders not queued are listed by the walk itself.
  }
  for (std::size_t i = 0; i < queued && static_cast<int>(i) < pool_->idle_; ++i) pool_->work_.notify_one();
}

bool WalkListings::MayListAhead() const {
  return !queue_.empty() && ahead_ < pool_->limits_.folders && bytesAhead_ < pool_->limits_.bytes &&
         !cancelled_.load(std::memory_order_relaxed);
}

DirectoryListing WalkListings::TakeSpare() {
  if (spares_.empty()) return DirectoryListing();
  DirectoryListing spare = std::move(spares_.back());
  spares_.pop_back();
  return spare;
}

void WalkListings::ListAhead(std::unique_lock<std::mutex>& lock, bool helper) {
  WalkFolder& folder = *queue_.top();
  queue_.pop();
  folder.queued_ = false;
  folder.state_ = WalkFolder::State::Listing;
  folder.ahead_ = true;
  ++ahead_;
  if (helper) ++helpersListing_;
  DirectoryListing spare = TakeSpare();
  lock.unlock();
  bool made = true;
  ListingTime time;
  try {
    time = List(folder, std::move(spare), ListingFor::Ahead);
    // A failed listing is made once more by the walk when it comes to it.
    made = folder.outcome_ != ListingOutcome::Failed;
  } catch (...) {
    made = false;
  }
  lock.lock();
  if (helper) --helpersListing_;
  Listed(folder, made, time);
}

// ---------------------------------------------------------------------------

std::unique_ptr<ListingPool> NewListingPool(int walkThreads) {
  if (walkThreads <= 0) {
    if (std::optional<int> fixed = WalkThreadsFromEnvironment()) {
      walkThreads = *fixed;
    } else {
      return std::make_unique<ListingPool>(std::make_unique<ThroughputChoice>(DefaultListingThreadRange()));
    }
  }
  if (walkThreads == 1) return nullptr;
  return std::make_unique<ListingPool>(walkThreads - 1);
}

}  // namespace tarnwell
