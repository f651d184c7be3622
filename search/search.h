// One search: its wanted names, its roots, one worker thread per root, the
// match mode and the cancellation flag they all look at, and the count of
// walks still running, whose drop to zero is signalled.
//
// Who owns what: each worker holds a share of its search, and everything a
// walk touches is the search's own (names, roots, matcher, sink) except the
// lister, which outlives every search (the file system's lister is never
// destroyed). So a walk can never outlive what it uses, even when nobody
// waits for it. The thread that started the search normally waits for the
// walks' end (WaitForWalks), which joins their threads; a search whose
// threads were never joined joins them when the last share goes, or lets
// them go when that share is a worker's own.
//
// The walks share a pool of helpers that list folders ahead of them
// (search/walk/listing_pool.h); the last walk to end joins the helpers, before
// the search's end is signalled.
//
// What the walks find goes to a SearchSink on the worker threads: rows in
// batches (at most SearchOptions::batchRows, and none older than batchAge
// while the walk goes on), in walk order, then the end of the walk. Progress
// is not delivered but kept in one slot per search that the window polls
// with TakeProgress, so that thousands of progress steps per folder cost
// nothing until someone looks.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/base/failure.h"
#include "platform/files/directory_listing.h"
#include "platform/text/text.h"
#include "search/walk/listing_pool.h"
#include "search/match/match_mode.h"
#include "search/match/name_matcher.h"
#include "search/names/names_box.h"
#include "search/row_batch.h"

namespace tarnwell {

using RootList = TextList;

class Search;

class SearchSink {
 public:
  virtual ~SearchSink() = default;
  // On the worker of root number `root` (0-based, RootList order): the next
  // rows of that walk. Not called once the search is cancelled, except for a
  // call already under way when Cancel() returns.
  virtual void DeliverRows(Search& search, std::size_t root, RowBatch rows) = 0;
  // On the same worker, after its last DeliverRows: the walk of `root` has
  // ended. Called once per root, also when the search was cancelled, when
  // the walk failed (an exception ended it early) and when the worker thread
  // could not be started (then on the thread that called Search::Start,
  // before Start returns).
  virtual void WalkEnded(Search& search, std::size_t root) = 0;
  // Once per search, after the WalkEnded call of every root has returned:
  // on the worker whose walk ended last (on the thread that called
  // Search::Start when no walk ran at all). Whatever a sink hands on in
  // order, this comes after every row and every walk's end of the search.
  virtual void SearchEnded(Search&) {}
};

struct SearchOptions {
  std::size_t batchRows = 1000;
  std::chrono::milliseconds batchAge{20};
  // Threads that list folders, each walk's own included; 0: as many as the
  // listings show to pay, or TARNWELL_WALK_THREADS (NewListingPool).
  int walkThreads = 0;
  // Taken when the search starts; unlike the mode, it holds for the whole search.
  NumberRule numbers = NumberRule::Off;
};

class Search : public std::enable_shared_from_this<Search> {
  struct PassKey {};

 public:
  // Starts one worker per root and returns at once. `lister` must outlive
  // the walks.
  static std::shared_ptr<Search> Start(NameList names, RootList roots, MatchMode mode,
                                       std::shared_ptr<SearchSink> sink,
                                       const DirectoryLister& lister = FileSystemLister(),
                                       SearchOptions options = {});
  // The same with a lister that the search holds a share of until its last
  // walk is gone (a lister made for this search).
  static std::shared_ptr<Search> Start(NameList names, RootList roots, MatchMode mode,
                                       std::shared_ptr<SearchSink> sink,
                                       std::shared_ptr<const DirectoryLister> lister, SearchOptions options = {});

  Search(PassKey, NameList names, RootList roots, MatchMode mode, std::shared_ptr<SearchSink> sink,
         const DirectoryLister& lister, SearchOptions options);
  // Joins the threads of the walks unless called on one of them.
  ~Search();
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;

  // Any thread, cheap: sets the flag that the walks look at before every
  // folder and entry and before every delivery.
  void Cancel() { cancelled_.store(true, std::memory_order_release); }
  bool Cancelled() const { return cancelled_.load(std::memory_order_acquire); }

  // Any thread: the mode of the walks from their next folder on (the window
  // sets it when its match-mode radios change). Each walk reads it once per
  // folder, before the folder's files are matched.
  void SetMatchMode(MatchMode mode) { mode_.store(mode, std::memory_order_relaxed); }
  MatchMode Mode() const { return mode_.load(std::memory_order_relaxed); }
  NumberRule Numbers() const { return matcher_.Numbers(); }

  // Walks not yet ended. Drops after the walk's WalkEnded call has returned,
  // so at 0 every delivery of the search but SearchEnded has been made.
  int RunningWalks() const { return running_.load(std::memory_order_acquire); }
  // Waits until the search has ended (its SearchEnded call has returned) or
  // the deadline has passed, and returns whether it ended. Once it has, the
  // walks' threads are joined. On the thread that called Start.
  bool WaitForWalks(std::chrono::steady_clock::time_point deadline);
  // Walks that an exception ended early (a listing that threw, memory
  // running out) or whose end could not be handed on. Each such fault also
  // writes a debug line; the walk still ends with its WalkEnded.
  int FailedWalks() const { return failed_.load(std::memory_order_acquire); }
  // Folders that are there but could not be read to their end, twice
  // (access denied, a read that failed midway): each also writes a debug
  // line. Their rows are those of the entries read.
  std::uint64_t FailedFolders() const { return failedFolders_.load(std::memory_order_acquire); }
  // Every failed folder and failed walk so far, in the order they came: the
  // path, what was being done and why.
  std::vector<Failure> Problems() const { return failures_.Snapshot(); }

  // The wanted name (its index in Names()) of the latest progress step of
  // any walk of this search. Nothing when no walk has made a step since the
  // last call. A walk's last step is made before its WalkEnded call.
  std::optional<std::uint32_t> TakeProgress();
  // Progress steps made so far: one per wanted name per folder searched.
  std::uint64_t ProgressSteps() const { return progressSteps_.load(std::memory_order_acquire); }

  // The threads that listed folders: how many at the end and the most at
  // once (1 and 1 when each walk listed alone). Once the search has ended.
  int ListingThreadsAtEnd() const { return pool_ ? pool_->Threads() : 1; }
  int MostListingThreads() const { return pool_ ? pool_->MostThreads() : 1; }
  // With the default threads: the share of the search's time that listed
  // with another number of threads than at the end.
  double ListingShareAwayFromEnd() const { return pool_ ? pool_->ShareAwayFromThreadsNow() : 0; }

  const NameList& Names() const { return *names_; }
  const RootList& Roots() const { return *roots_; }

 private:
  friend class WalkDelivery;
  // One worker per root.
  void StartWalks();
  void RunWalk(std::size_t root);
  // The walk of `root` is over: its WalkEnded, and after the last walk the
  // search's end and its signal.
  void EndWalk(std::size_t root, bool failed);
  // Counts a fault of the walk of `root`, writes its debug line and adds it
  // to the problems; `error` is the system's code when there is one.
  void CountWalkFault(std::size_t root, const char* what, std::uint32_t error = 0) noexcept;
  void AddProgress(std::uint32_t lastName, std::uint64_t steps);
  void FolderFailed(const Text& folder, std::uint32_t error) noexcept;

  std::shared_ptr<const NameList> names_;
  std::shared_ptr<const RootList> roots_;
  std::atomic<MatchMode> mode_;
  std::function<MatchMode()> readMode_;  // what the walks call: reads mode_
  std::shared_ptr<SearchSink> sink_;
  std::shared_ptr<const DirectoryLister> listerShare_;  // null when the lister outlives the search anyway
  const DirectoryLister& lister_;
  SearchOptions options_;
  NameMatcher matcher_;
  std::atomic<bool> cancelled_{false};
  std::atomic<int> running_{0};
  std::atomic<int> failed_{0};
  std::atomic<std::uint64_t> failedFolders_{0};
  FailureList failures_;
  std::vector<std::thread> threads_;  // touched only by the starting thread and the destructor
  std::mutex endMutex_;
  std::condition_variable endSignal_;
  bool ended_ = false;  // guarded by endMutex_
  std::unique_ptr<ListingPool> pool_;  // null when the walks list on their own threads
  std::atomic<std::uint32_t> progressName_{0};
  std::atomic<std::uint64_t> progressSteps_{0};
  std::atomic<std::uint64_t> stepsTaken_{0};
};

}  // namespace tarnwell
