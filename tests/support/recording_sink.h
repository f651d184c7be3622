// A search sink for tests: keeps each walk's rows and batch sizes, counts
// calls that come in a wrong order, and lets a test wait for the ends.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "search/search.h"

namespace tarnwell::testing {

// Records what the workers hand over, per root, and checks the order of the
// calls as they come: no rows after their walk's end, every walk's end once
// and before the search's end.
class RecordingSink final : public SearchSink {
 public:
  explicit RecordingSink(std::size_t roots) : rows_(roots), batches_(roots), ended_(roots, 0) {}

  void DeliverRows(Search& search, std::size_t root, RowBatch rows) override {
    std::lock_guard lock(mutex_);
    if (ended_[root] != 0) ++faults_;  // rows after the end of their walk
    if (search.Cancelled()) ++deliveriesAfterCancel_;
    batches_[root].push_back(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) rows_[root].push_back(Concat(rows.Folder(i), "\\", rows.Name(i)));
    if (onRows_) onRows_(search);
  }

  void WalkEnded(Search& search, std::size_t root) override {
    std::lock_guard lock(mutex_);
    if (searchEnded_ != 0) ++faults_;  // a walk's end after the search's
    ++ended_[root];
    stepsAtEnd_ = search.ProgressSteps();
  }

  void SearchEnded(Search&) override {
    std::lock_guard lock(mutex_);
    for (int ended : ended_) {
      if (ended != 1) ++faults_;  // the search's end before a walk's, or a walk ended twice
    }
    ++searchEnded_;
    changed_.notify_all();
  }

  // Waits until the search has ended (a fault after 60 s, not a hang).
  void WaitForAllEnds() {
    std::unique_lock lock(mutex_);
    ASSERT_TRUE(changed_.wait_for(lock, std::chrono::seconds(60), [&] { return searchEnded_ > 0; }));
  }

  void OnRows(std::function<void(Search&)> onRows) { onRows_ = std::move(onRows); }

  std::vector<TextList> Rows() const {
    std::lock_guard lock(mutex_);
    return rows_;
  }
  std::vector<std::vector<std::size_t>> Batches() const {
    std::lock_guard lock(mutex_);
    return batches_;
  }
  std::vector<int> Ended() const {
    std::lock_guard lock(mutex_);
    return ended_;
  }
  int SearchEnds() const {
    std::lock_guard lock(mutex_);
    return searchEnded_;
  }
  int Faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
  }
  // Deliveries that began once the search was cancelled: a walk may have had
  // one under way when the flag was set.
  int DeliveriesAfterCancel() const {
    std::lock_guard lock(mutex_);
    return deliveriesAfterCancel_;
  }
  std::uint64_t StepsAtEnd() const {
    std::lock_guard lock(mutex_);
    return stepsAtEnd_;
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<TextList> rows_;
  std::vector<std::vector<std::size_t>> batches_;
  std::vector<int> ended_;
  int searchEnded_ = 0;
  int faults_ = 0;
  int deliveriesAfterCancel_ = 0;
  std::uint64_t stepsAtEnd_ = 0;
  std::function<void(Search&)> onRows_;
};

}  // namespace tarnwell::testing
