#include "results/recycle_ticked_files.h"

#include "platform/text/gbk_literal.h"
#include "results/tick_scan.h"

namespace tarnwell {
namespace {

// Files per shell operation: enough to spare the shell's set-up per file,
// few enough that the window answers again soon.
constexpr std::size_t kBatchSize = 64;

}  // namespace

int RecycleTickedFiles(ResultList& list, FileWork& work, OperationRecord& record,
                       std::vector<ResultList::RowId>& removals) {
  ResultHost& host = work.Host();
  std::vector<ResultList::RowId> ids;
  TextList paths;
  auto recycle = [&] {
    if (paths.empty()) return;
    const std::vector<RecycleOutcome> outcomes = work.Run([&] {
      work.Progress().BeginFile(paths.front(), 0);
      std::vector<RecycleOutcome> done = host.RecycleFiles(paths);
      for (std::size_t i = 0; i < paths.size(); ++i) {
        if (i < done.size() && !done[i]) {
          record.Succeeded(RecordedAction::Recycle, paths[i], Text());
        } else if (i < done.size()) {
          // The shell's own reason; the file is still where it was.
          record.Failed(RecordedAction::Recycle, paths[i], Text(), done[i]->message, done[i]->code);
        } else {
          record.Failed(RecordedAction::Recycle, paths[i], Text(), "未能放入回收站，文件仍在原处"_gbk);
        }
      }
      work.Progress().EndFiles(static_cast<int>(paths.size()));
      return done;
    });
    for (std::size_t i = 0; i < ids.size(); ++i) {
      if (i < outcomes.size() && !outcomes[i]) removals.push_back(ids[i]);
    }
    ids.clear();
    paths.clear();
  };
  int ticked = ScanTickedRows(
      list, host, "正在删除，请稍等..."_gbk, ScanOrder::EventsThenStatus,
      [&](ResultList::RowId id, const Text& path) {
        ids.push_back(id);
        paths.push_back(path);
        if (paths.size() >= kBatchSize) recycle();
      },
      work.Progress());
  // A window closed or a stop during the scan ends the command: the files
  // gathered since the last group stay where they are.
  if (host.WindowClosed() || work.StopRequested()) return ticked - static_cast<int>(paths.size());
  recycle();
  return ticked;
}

}  // namespace tarnwell
