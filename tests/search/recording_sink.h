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
// calls as they come.
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
    ++ended_[root];
    stepsAtEnd_ = search.ProgressSteps();
    changed_.notify_all();
  }

  // Waits until every walk has ended (a fault after 60 s, not a hang).
  void WaitForAllEnds() {
    std::unique_lock lock(mutex_);
    bool all = changed_.wait_for(lock, std::chrono::seconds(60), [&] {
      for (int ended : ended_) {
        if (ended == 0) return false;
      }
      return true;
    });
    ASSERT_TRUE(all);
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
  int faults_ = 0;
  int deliveriesAfterCancel_ = 0;
  std::uint64_t stepsAtEnd_ = 0;
  std::function<void(Search&)> onRows_;
};

}  // namespace tarnwell::testing
