// One search: its wanted names, its roots, one detached worker thread per
// root, and the cancellation flag they all look at. The window starts a
// search and forgets about its threads: the workers share ownership of the
// search, so it lives as long as the last of them (or the window) needs it.
// The walks share a pool of helpers that list folders ahead of them; the
// last walk to end joins the helpers, before RunningWalks() reaches 0.
//
// What the walks find goes to a SearchSink on the worker threads: rows in
// batches (at most SearchOptions::batchRows, and none older than batchAge
// while the walk goes on), in walk order, then the end of the walk. Progress
// is not delivered but kept in one slot per search that the window polls
// with TakeProgressText, so that thousands of progress steps per folder cost
// nothing until someone looks.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/directory_listing.h"
#include "platform/text.h"
#include "search/listing_pool.h"
#include "search/match_mode.h"
#include "search/name_matcher.h"
#include "search/names_box.h"
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
  // ended. Called once per root, also when the search was cancelled and when
  // the worker thread could not be started (then on the thread that called
  // Search::Start, before Start returns).
  virtual void WalkEnded(Search& search, std::size_t root) = 0;
};

struct SearchOptions {
  std::size_t batchRows = 1000;
  std::chrono::milliseconds batchAge{20};
  // Threads that list folders, each walk's own included (0: DefaultWalkThreads()).
  int walkThreads = 0;
};

class Search : public std::enable_shared_from_this<Search> {
  struct PassKey {};

 public:
  // Starts one detached worker per root and returns at once. `mode` is called
  // on the workers, once per folder (the window mirrors its radio buttons into
  // an atomic for it). `lister` must outlive the walks.
  static std::shared_ptr<Search> Start(NameList names, RootList roots, std::function<MatchMode()> mode,
                                       std::shared_ptr<SearchSink> sink,
                                       const DirectoryLister& lister = FileSystemLister(),
                                       SearchOptions options = {});

  Search(PassKey, NameList names, RootList roots, std::function<MatchMode()> mode, std::shared_ptr<SearchSink> sink,
         const DirectoryLister& lister, SearchOptions options);

  // Any thread, cheap: sets the flag that the walks look at before every
  // folder and entry and before every delivery.
  void Cancel() { cancelled_.store(true, std::memory_order_release); }
  bool Cancelled() const { return cancelled_.load(std::memory_order_acquire); }

  // Walks not yet ended. Drops after the walk's WalkEnded call has returned,
  // so at 0 every delivery of the search has been made.
  int RunningWalks() const { return running_.load(std::memory_order_acquire); }

  // The progress text for the latest progress step of any walk of this
  // search: "请稍后，正在搜索" + wanted name + "  加速" + a random number from 1
  // to 5000, drawn now. Nothing when no walk has made a step since the last
  // call. A walk's last step is made before its WalkEnded call.
  std::optional<Text> TakeProgressText();
  // Progress steps made so far: one per wanted name per folder searched.
  std::uint64_t ProgressSteps() const { return progressSteps_.load(std::memory_order_acquire); }

  const NameList& Names() const { return *names_; }
  const RootList& Roots() const { return *roots_; }

 private:
  friend class WalkDelivery;
  void RunWalk(std::size_t root);
  void EndWalk();
  void AddProgress(std::uint32_t lastName, std::uint64_t steps);

  std::shared_ptr<const NameList> names_;
  std::shared_ptr<const RootList> roots_;
  std::function<MatchMode()> mode_;
  std::shared_ptr<SearchSink> sink_;
  const DirectoryLister& lister_;
  SearchOptions options_;
  NameMatcher matcher_;
  std::atomic<bool> cancelled_{false};
  std::atomic<int> running_{0};
  std::atomic<int> walksUsingPool_{0};
  std::unique_ptr<ListingPool> pool_;
  std::atomic<std::uint32_t> progressName_{0};
  std::atomic<std::uint64_t> progressSteps_{0};
  std::atomic<std::uint64_t> stepsTaken_{0};
};

}  // namespace tarnwell
