#include <algorithm>
#include <mutex>
#include <vector>

#include "bench/kept_source.h"

namespace tarnwell::bench {
namespace {

class QuietWatcher final : public FolderWatcher {
 public:
  struct Watching final : FolderWatch {
    Watching(const QuietWatcher& owner, FolderChangeReceiver& told) : watcher(owner), receiver(told) {}
    ~Watching() override {
      std::lock_guard lock(watcher.mutex_);
      std::erase(watcher.live_, this);
    }
    const QuietWatcher& watcher;
    FolderChangeReceiver& receiver;
  };

  std::unique_ptr<FolderWatch> Watch(const Text&, FolderChangeReceiver& receiver) const override {
    auto watch = std::make_unique<Watching>(*this, receiver);
    std::lock_guard lock(mutex_);
    live_.push_back(watch.get());
    return watch;
  }
  bool OldNamesAfterRename() const override { return false; }

  void Report(const std::vector<FolderChange>& changes) const {
    std::lock_guard lock(mutex_);
    for (const Watching* watch : live_) watch->receiver.Changed(changes);
  }

 private:
  mutable std::mutex mutex_;
  mutable std::vector<const Watching*> live_;
};

const QuietWatcher& Quiet() {
  static const QuietWatcher watcher;
  return watcher;
}

}  // namespace

const FolderWatcher& BenchWatcher() { return Quiet(); }

void ChangeFolders(const Text&, const TextList& folders, const KeptFolders&) {
  std::vector<FolderChange> changes;
  for (const Text& folder : folders) {
    changes.push_back({FolderChange::Action::Added, folder + "\\kept_bench_change.tmp"});
    changes.push_back({FolderChange::Action::Removed, folder + "\\kept_bench_change.tmp"});
  }
  Quiet().Report(changes);
}

}  // namespace tarnwell::bench
