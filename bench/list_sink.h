// The hand-off of a search's rows to the thread that owns the result list,
// the way the window takes them: every batch becomes one closure posted to
// the WindowThreadQueue that appends its rows to the ResultList, and the end
// of the walk becomes one more closure after the last batch. It keeps the
// longest time one batch's appends held the consuming thread.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "platform/base/window_thread_queue.h"
#include "results/result_list.h"
#include "search/search.h"

namespace tarnwell::bench {

class ListSink final : public SearchSink {
 public:
  // `list` and whatever `ended` touches must outlive the walk's end.
  ListSink(std::shared_ptr<WindowThreadQueue> queue, ResultList& list, std::function<void()> ended)
      : queue_(std::move(queue)), list_(list), ended_(std::move(ended)) {}

  void DeliverRows(Search&, std::size_t, RowBatch rows) override {
    auto batch = std::make_shared<RowBatch>(std::move(rows));
    queue_->Post([&list = list_, batch, longest = longestBatchMs_] {
      auto start = std::chrono::steady_clock::now();
      for (std::size_t i = 0; i < batch->size(); ++i) list.Append(batch->Folder(i), batch->Name(i));
      std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
      if (took.count() > *longest) *longest = took.count();
    });
  }

  void WalkEnded(Search&, std::size_t) override { queue_->Post(ended_); }

  // Read on the consuming thread, after the walk's end was handled.
  double LongestBatchMs() const { return *longestBatchMs_; }

 private:
  std::shared_ptr<WindowThreadQueue> queue_;
  ResultList& list_;
  std::function<void()> ended_;
  std::shared_ptr<double> longestBatchMs_ = std::make_shared<double>(0);
};

}  // namespace tarnwell::bench
