// The portable build has no change watch: nothing walked is kept.
#include "platform/files/folder_watch.h"

namespace tarnwell {
namespace {

class NoFolderWatcher final : public FolderWatcher {
 public:
  std::unique_ptr<FolderWatch> Watch(const Text&, FolderChangeReceiver&) const override { return nullptr; }
  bool OldNamesAfterRename() const override { return true; }
  std::optional<FileIdentity> IdentityOf(const Text&) const override { return std::nullopt; }
};

}  // namespace

const FolderWatcher& SystemFolderWatcher() {
  static const NoFolderWatcher watcher;
  return watcher;
}

}  // namespace tarnwell
