// A change watcher driven by the test: it arms a watch on any folder not
// refused, and the test reports changes or a lost watch to the watches of a
// folder, in any order, from any thread. Every folder has an identity, the
// same until the test replaces the folder (renamed away, another made in its
// place) or takes its volume away.
#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <mutex>
#include <set>
#include <vector>

#include "platform/files/folder_watch.h"

namespace tarnwell::testing {

class ScriptedWatcher final : public FolderWatcher {
 public:
  explicit ScriptedWatcher(bool oldNamesAfterRename = false) : oldNames_(oldNamesAfterRename) {}

  std::unique_ptr<FolderWatch> Watch(const Text& folder, FolderChangeReceiver& receiver) const override {
    std::lock_guard lock(mutex_);
    if (refused_.contains(folder)) return nullptr;
    ++armed_;
    return std::make_unique<Watching>(*this, folder, receiver, IdentityLocked(folder));
  }
  bool OldNamesAfterRename() const override { return oldNames_; }
  std::optional<FileIdentity> IdentityOf(const Text& folder) const override {
    std::lock_guard lock(mutex_);
    return IdentityLocked(folder);
  }

  // `folder` is another folder from now on (the one watched went elsewhere).
  void Replace(const Text& folder) {
    std::lock_guard lock(mutex_);
    ++generation_[folder];
  }
  // Every folder below `prefix` ("E:") names nothing from now on.
  void RemoveVolume(const Text& prefix) {
    std::lock_guard lock(mutex_);
    gone_.insert(prefix);
  }
  // Watches on `folder` fail to arm from now on.
  void Refuse(const Text& folder) {
    std::lock_guard lock(mutex_);
    refused_.insert(folder);
  }
  void Report(const Text& folder, const std::vector<FolderChange>& changes) const {
    std::lock_guard lock(mutex_);
    for (const Watching* watch : live_) {
      if (watch->folder == folder) watch->receiver.Changed(changes);
    }
  }
  void Lose(const Text& folder) const {
    std::lock_guard lock(mutex_);
    for (const Watching* watch : live_) {
      if (watch->folder == folder) watch->receiver.Lost();
    }
  }
  int Armed() const {
    std::lock_guard lock(mutex_);
    return armed_;
  }
  int Live() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(live_.size());
  }

 private:
  struct Watching final : FolderWatch {
    Watching(const ScriptedWatcher& owner, Text watched, FolderChangeReceiver& told,
             std::optional<FileIdentity> armedOn)
        : watcher(owner), folder(std::move(watched)), receiver(told), identity(std::move(armedOn)) {
      watcher.live_.push_back(this);  // under the watcher's lock, taken by Watch
    }
    std::optional<FileIdentity> Identity() const override { return identity; }
    ~Watching() override {
      std::lock_guard lock(watcher.mutex_);
      watcher.live_.erase(std::find(watcher.live_.begin(), watcher.live_.end(), this));
    }
    const ScriptedWatcher& watcher;
    Text folder;
    FolderChangeReceiver& receiver;
    std::optional<FileIdentity> identity;
  };

  std::optional<FileIdentity> IdentityLocked(const Text& folder) const {
    for (const Text& prefix : gone_) {
      if (folder.starts_with(prefix)) return std::nullopt;
    }
    auto generation = generation_.find(folder);
    const std::wstring name(folder.begin(), folder.end());
    return FileIdentity{generation == generation_.end() ? 0u : generation->second, {}, name};
  }

  bool oldNames_;
  mutable std::mutex mutex_;
  mutable std::vector<const Watching*> live_;
  std::set<Text> refused_;
  std::map<Text, std::uint64_t> generation_;
  std::set<Text> gone_;
  mutable int armed_ = 0;
};

}  // namespace tarnwell::testing
