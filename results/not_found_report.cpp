#include "results/not_found_report.h"

#include "platform/gbk_literal.h"
#include "platform/text_search.h"

namespace tarnwell {

Text BuildNotFoundReport(const Text& namesBoxContent, const ResultList& list) {
  // Every row's file name followed by "\": a line counts as found when it
  // occurs anywhere in this text.
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

void NotFoundReport(const ResultList& list, ResultHost& host) {
  const Text report = BuildNotFoundReport(host.NamesBoxContent(), list);
  const Text path = Concat(host.ProgramDirectory(), "\\未搜到文件列表.txt"_gbk);
  const auto bytes = TextToBytes(report);
  // An older report must never be opened as if it were this one.
  if (!host.WriteWholeFile(path, bytes)) {
    host.ShowMessageBox("未搜到文件列表写入失败！"_gbk, MessageBoxStyle::Ok, Text());
    return;
  }
  host.ShellOpen(path);
}

}  // namespace tarnwell
