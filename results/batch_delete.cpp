#include "results/batch_delete.h"

#include <vector>

#include "platform/gbk_literal.h"
#include "results/tick_scan.h"

namespace tarnwell {

void BatchDelete(ResultList& list, ResultHost& host) {
  if (host.ShowMessageBox("您确定要删除选定的文件吗？请慎重，删除后不可恢复！"_gbk, MessageBoxStyle::OkCancel,
                          "确定删除吗？"_gbk) != MessageBoxButton::Ok) {
    return;
  }
  // Rows are removed by id, so rows appended (or a new search's rows) while
  // the scan let events run are never taken for the ticked ones.
  std::vector<ResultList::RowId> removals;
  int ticked = ScanTickedRows(list, host, "正在删除，请稍等..."_gbk, ScanOrder::EventsThenStatus,
                              [&](ResultList::RowId id, const Text& path) {
                                removals.push_back(id);
                                host.DeleteOneFile(path);
                              });
  list.RemoveRows(removals);
  if (ticked > 0) {
    host.SetStatus("删除完毕！"_gbk);
  } else {
    host.ShowMessageBox("您没有选择任何文件！"_gbk, MessageBoxStyle::Ok, Text());
  }
}

}  // namespace tarnwell
