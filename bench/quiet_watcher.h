// A change watch that arms at once and reports only what it is told to: the
// portable build's watch for the kept-folder cases, and on Windows the watch
// of the case that tells the store's own cost from the system watch's.
#pragma once

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/files/folder_watch.h"

namespace tarnwell::bench {

class QuietWatcher final : public FolderWatcher {
 public:
  std::unique_ptr<FolderWatch> Watch(const Text&, FolderChangeReceiver& receiver) const override {
    auto watch = std::make_unique<Watching>(*this, receiver);
    std::lock_guard lock(mutex_);
    live_.push_back(watch.get());
    return watch;
  }
  bool OldNamesAfterRename() const override { return false; }
  // Every folder stays the one watched: the benchmark never replaces a root.
  std::optional<FileIdentity> IdentityOf(const Text&) const override { return Same(); }

  // Tells every armed watch's receiver of `changes`.
  void Report(const std::vector<FolderChange>& changes) const {
    std::lock_guard lock(mutex_);
    for (const Watching* watch : live_) watch->receiver.Changed(changes);
  }

 private:
  static FileIdentity Same() { return FileIdentity{1, {}, L"quiet"}; }

  struct Watching final : FolderWatch {
    Watching(const QuietWatcher& owner, FolderChangeReceiver& told) : watcher(owner), receiver(told) {}
    std::optional<FileIdentity> Identity() const override { return Same(); }
    ~Watching() override {
      std::lock_guard lock(watcher.mutex_);
      std::erase(watcher.live_, this);
    }
    const QuietWatcher& watcher;
    FolderChangeReceiver& receiver;
  };

  mutable std::mutex mutex_;
  mutable std::vector<const Watching*> live_;
};

// The one quiet watch of a benchmark run.
inline const QuietWatcher& Quiet() {
  static const QuietWatcher watcher;
  return watcher;
}

}  // namespace tarnwell::bench
