#include "bench/engine_run.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "bench/list_sink.h"

namespace tarnwell::bench {
namespace {

// The consuming thread's wake-up: set by the queue's wake call, which the
// worker makes after its post, so it is shared with the worker.
struct WakeUp {
  std::mutex mutex;
  std::condition_variable changed;
  bool woken = false;

  void Wake() {
    std::lock_guard lock(mutex);
    woken = true;
    changed.notify_one();
  }
  void Wait() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return woken; });
    woken = false;
  }
};

// What the consuming thread owns; the closures run on it alone.
struct Consumer {
  ResultList list;
  bool ended = false;
};

}  // namespace

EngineRun RunEngine(const Text& root, const NameList& names, MatchMode mode, const DirectoryLister& lister,
                    int threads, NumberRule numbers) {
  auto wakeUp = std::make_shared<WakeUp>();
  auto queue = std::make_shared<WindowThreadQueue>([wakeUp] { wakeUp->Wake(); });
  auto consumer = std::make_shared<Consumer>();

  auto start = std::chrono::steady_clock::now();
  auto search = Search::Start(names, RootList{root}, mode,
                              std::make_shared<ListSink>(queue, consumer->list, [consumer] { consumer->ended = true; }),
                              lister, SearchOptions{1000, std::chrono::milliseconds(20), threads, numbers});
  while (!consumer->ended) {
    wakeUp->Wait();
    queue->Drain();
  }
  auto stop = std::chrono::steady_clock::now();
  // FNV-1a over the rows' texts, each ended by a zero byte: equal digests
  // mean the same rows in the same order.
  std::uint64_t digest = 14695981039346656037ull;
  for (int row = 0; row < consumer->list.RowCount(); ++row) {
    for (char c : consumer->list.RowText(row) + '\0') digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  return {std::chrono::duration<double>(stop - start).count(), static_cast<std::size_t>(consumer->list.RowCount()),
          digest, search->ListingThreadsAtEnd(), search->MostListingThreads(),
          search->ListingShareAwayFromEnd()};
}

}  // namespace tarnwell::bench
