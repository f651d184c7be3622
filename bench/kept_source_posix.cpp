#include <vector>

#include "bench/kept_source.h"
#include "bench/quiet_watcher.h"

namespace tarnwell::bench {

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
