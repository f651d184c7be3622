#include "results/recycle_ticked_files.h"

#include "platform/text/gbk_literal.h"
#include "results/tick_scan.h"

namespace tarnwell {
namespace {

// Files per shell operation: enough to spare the shell's set-up per file,
// few enough that the window answers again soon.
constexpr std::size_t kBatchSize = 64;

}  // namespace

int RecycleTickedFiles(ResultList& list, ResultHost& host, OperationRecord& record,
                       std::vector<ResultList::RowId>& removals) {
  std::vector<ResultList::RowId> ids;
  TextList paths;
  auto recycle = [&] {
    if (paths.empty()) return;
    const std::vector<RecycleOutcome> outcomes = host.RecycleFiles(paths);
    for (std::size_t i = 0; i < ids.size(); ++i) {
      if (i < outcomes.size() && !outcomes[i]) {
        removals.push_back(ids[i]);
        record.Succeeded(RecordedAction::Recycle, paths[i], Text());
      } else {
        // The shell's own reason where it gave one; the file is still where it was.
        if (i < outcomes.size()) {
          record.Failed(RecordedAction::Recycle, paths[i], Text(), outcomes[i]->message, outcomes[i]->code);
        } else {
          record.Failed(RecordedAction::Recycle, paths[i], Text(), "未能放入回收站，文件仍在原处"_gbk);
        }
      }
    }
    ids.clear();
    paths.clear();
  };
  int ticked = ScanTickedRows(list, host, "正在删除，请稍等..."_gbk, ScanOrder::EventsThenStatus,
                              [&](ResultList::RowId id, const Text& path) {
                                ids.push_back(id);
                                paths.push_back(path);
                                if (paths.size() >= kBatchSize) recycle();
                              });
  // A window closed during the scan ends the command: the files gathered
  // since the last batch stay where they are.
  if (!host.WindowClosed()) recycle();
  return ticked;
}

}  // namespace tarnwell
