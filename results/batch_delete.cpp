#include "results/batch_delete.h"

#include <vector>

#include "platform/text/gbk_literal.h"
#include "results/operation_record.h"
#include "results/recycle_ticked_files.h"
#include "results/tick_scan.h"

namespace tarnwell {

void BatchDelete(ResultList& list, ResultHost& host) {
  const bool recycle = host.RecycleOnDelete();
  const Text& question = recycle ? "您确定要将选定的文件放入回收站吗？"_gbk
                                 : "您确定要删除选定的文件吗？请慎重，删除后不可恢复！"_gbk;
  if (host.ShowMessageBox(question, MessageBoxStyle::OkCancel, "确定删除吗？"_gbk) != MessageBoxButton::Ok) {
    return;
  }
  OperationRecord record(host);
  // Rows are removed by id, so rows appended (or a new search's rows) while
  // the scan let events run are never taken for the ticked ones. A row goes
  // only when its file is gone: deleted now, or not there any more.
  std::vector<ResultList::RowId> removals;
  int ticked = recycle ? RecycleTickedFiles(list, host, record, removals)
                       : ScanTickedRows(list, host, "正在删除，请稍等..."_gbk, ScanOrder::EventsThenStatus,
                                        [&](ResultList::RowId id, const Text& path) {
                                          const FileOutcome outcome = host.DeleteOneFile(path);
                                          record.Write(RecordedAction::Delete, path, Text(), outcome);
                                          if (outcome.done || host.NothingAt(path)) removals.push_back(id);
                                        });
  // A closed window has taken its rows along: nothing more is shown.
  if (host.WindowClosed()) return;
  list.RemoveRows(removals);
  if (ticked > 0) {
    host.SetStatus("删除完毕！"_gbk);
    const int stayed = ticked - static_cast<int>(removals.size());
    if (stayed > 0) {
      host.ShowMessageBox(Concat("有"_gbk, NumberToText(stayed), "个文件未能删除，已保留在列表中并保持勾选。"_gbk),
                          MessageBoxStyle::Ok, Text());
    }
  } else {
    host.ShowMessageBox("您没有选择任何文件！"_gbk, MessageBoxStyle::Ok, Text());
  }
  record.TellWhenUnwritten();
}

}  // namespace tarnwell
