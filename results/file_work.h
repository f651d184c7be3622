// The file side of a batch: every piece of file work goes to the host's
// worker thread while the window thread goes on dispatching its events, so
// the window answers however long a file takes. A window closed meanwhile
// asks the batch to stop, so a copy under way stops at its next piece and
// leaves nothing of itself behind.
#pragma once

#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "results/batch_progress.h"
#include "results/result_host.h"
#include "results/result_list.h"

namespace tarnwell {

class FileWork {
 public:
  FileWork(ResultHost& host, BatchProgress& progress) : host_(host), progress_(progress) {}

  // Runs `work` on the worker thread and gives back what it returns (a
  // value made by default when it threw: the thread's entry reported that).
  template <class Work>
  auto Run(Work&& work) -> std::invoke_result_t<Work&> {
    using Result = std::invoke_result_t<Work&>;
    auto watch = [this] {
      if (host_.WindowClosed()) progress_.RequestStop();
    };
    if constexpr (std::is_void_v<Result>) {
      host_.RunFileWork(work, watch);
    } else {
      std::optional<Result> result;
      host_.RunFileWork([&] { result.emplace(work()); }, watch);
      return result ? std::move(*result) : Result{};
    }
  }

  ResultHost& Host() { return host_; }
  BatchProgress& Progress() { return progress_; }
  bool StopRequested() const { return progress_.StopRequested(); }

 private:
  ResultHost& host_;
  BatchProgress& progress_;
};

// The sizes of the files of the rows ticked when the batch starts, read on
// the worker before the first file; their sum (each `weight` times) is the
// progress's count of bytes. A row ticked later has no size here.
class TickedSizes {
 public:
  TickedSizes(const ResultList& list, FileWork& work, std::uint64_t weight);
  // The size read for the row's file; 0 when none was read.
  std::uint64_t Of(ResultList::RowId id) const;

 private:
  std::vector<std::pair<ResultList::RowId, std::uint64_t>> sizes_;  // ascending ids
};

// The number of ticked rows now.
int TickedRowCount(const ResultList& list);

}  // namespace tarnwell
