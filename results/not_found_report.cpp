#include "results/not_found_report.h"

#include "platform/text/gbk_literal.h"
#include "platform/text/text_search.h"
#include "results/report_file.h"

namespace tarnwell {

Text BuildNotFoundReport(const Text& namesBoxContent, const ResultList& list) {
  // Every row's file name followed by "\": a line counts as found when it
  // occurs anywhere in this text. Kept on purpose (docs/behaviour.md).
  Text foundNames;
  for (int row = 0, rows = list.RowCount(); row < rows; ++row) {
    foundNames.append(list.RowFileName(row));
    foundNames.push_back('\\');
  }
  const TextSearch search(foundNames, true);
  Text report;
  for (const Text& line : SplitText(namesBoxContent, "\r\n")) {
    if (search.Find(line) == -1) report.append(Concat(line, "\r\n"));
  }
  return report;
}

void NotFoundReport(const ResultList& list, ResultHost& host, std::uint64_t unreadFolders) {
  const bool written = WriteAndOpenBesideProgram(
      host, "未搜到文件列表.txt"_gbk, BuildNotFoundReport(host.NamesBoxContent(), list), "未搜到文件列表写入失败！"_gbk);
  // The report names names found in no row; some may be in the folders
  // the search could not read.
  if (written && unreadFolders > 0) {
    host.ShowMessageBox(Concat("另有"_gbk, std::to_string(unreadFolders), "个文件夹无法读取，其中的文件未能查找。"_gbk),
                        MessageBoxStyle::Ok, Text());
  }
}

}  // namespace tarnwell
