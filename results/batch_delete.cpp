#include "results/batch_delete.h"

#include <vector>

#include "platform/text/gbk_literal.h"
#include "results/file_work.h"
#include "results/operation_record.h"
#include "results/recycle_ticked_files.h"
#include "results/tick_scan.h"

namespace tarnwell {

void BatchDelete(ResultList& list, ResultHost& host, BatchProgress* shared) {
  const bool recycle = host.RecycleOnDelete();
  const Text& question = recycle ? "您确定要将选定的文件放入回收站吗？"_gbk
                                 : "您确定要删除选定的文件吗？请慎重，删除后不可恢复！"_gbk;
  if (host.ShowMessageBox(question, MessageBoxStyle::OkCancel, "确定删除吗？"_gbk) != MessageBoxButton::Ok) {
    return;
  }
  BatchProgress own;
  BatchProgress& progress = shared ? *shared : own;
  FileWork work(host, progress);
  OperationRecord record(host);
  progress.Begin(recycle ? BatchKind::Recycle : BatchKind::Delete, TickedRowCount(list));
  // Rows are removed by id, so rows appended (or a new search's rows) while
  // the scan let events run are never taken for the ticked ones. A row goes
  // only when its file is gone: deleted now, or not there any more.
  std::vector<ResultList::RowId> removals;
  int ticked = recycle ? RecycleTickedFiles(list, work, record, removals)
                       : ScanTickedRows(
                             list, host, "正在删除，请稍等..."_gbk, ScanOrder::EventsThenStatus,
                             [&](ResultList::RowId id, const Text& path) {
                               // A delete is one step of the system's: never half done.
                               const bool gone = work.Run([&] {
                                 progress.BeginFile(path, 0);
                                 const FileOutcome outcome = host.DeleteOneFile(path);
                                 record.Write(RecordedAction::Delete, path, Text(), outcome);
                                 const bool isGone = outcome.done || host.NothingAt(path);
                                 progress.EndFile();
                                 return isGone;
                               });
                               if (gone) removals.push_back(id);
                             },
                             progress);
  progress.End();
  // A closed window has taken its rows along: nothing more is shown.
  if (host.WindowClosed()) return;
  list.RemoveRows(removals);
  const bool stopped = progress.StopRequested();
  if (ticked > 0 || stopped) {
    host.SetStatus(stopped ? Concat("已停止："_gbk, "删除完毕！"_gbk) : "删除完毕！"_gbk);
    Text box;
    if (stopped) box = Concat("已停止：已删除"_gbk, NumberToText(static_cast<int>(removals.size())), "个文件。"_gbk);
    const int stayed = ticked - static_cast<int>(removals.size());
    if (stayed > 0) {
      box += Concat("有"_gbk, NumberToText(stayed), "个文件未能删除，已保留在列表中并保持勾选。"_gbk);
    }
    if (!box.empty()) host.ShowMessageBox(box, MessageBoxStyle::Ok, Text());
  } else {
    host.ShowMessageBox("您没有选择任何文件！"_gbk, MessageBoxStyle::Ok, Text());
  }
  record.TellWhenUnwritten();
}

}  // namespace tarnwell
