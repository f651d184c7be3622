#include "results/result_export.h"

#include "platform/text/csv_writer.h"
#include "platform/text/gbk_literal.h"
#include "results/report_file.h"

namespace tarnwell {

std::string BuildResultExport(const ResultList& list, const FileFactsReader& facts, const TextList& matchedNames) {
  CsvWriter csv;
  csv.Field("文件路径"_gbk).Field("文件名"_gbk).Field("所在文件夹"_gbk).Field("大小"_gbk).Field("修改时间"_gbk);
  csv.Field("勾选"_gbk).Field("匹配名称"_gbk).EndLine();
  for (int row = 0, rows = list.RowCount(); row < rows; ++row) {
    const Text path = list.RowText(row);
    const Text name = list.RowFileName(row);
    // The path is the folder, "\" and the name.
    const std::string_view folder = std::string_view(path).substr(0, path.size() - name.size() - 1);
    csv.Field(path).Field(name).Field(folder);
    if (std::optional<FileFacts> found = facts(path)) {
      csv.Field(std::to_string(found->size)).Field(found->modified);
    } else {
      csv.Field("").Field("");
    }
    csv.Field(list.IsChecked(row) ? "是"_gbk : "否"_gbk);
    const auto index = static_cast<std::size_t>(row);
    csv.Field(index < matchedNames.size() ? matchedNames[index] : Text()).EndLine();
  }
  return csv.Bytes();
}

void ExportResultList(const ResultList& list, ResultHost& host, const FileFactsReader& facts,
                      const MatchedNames& matchedNames) {
  WriteAndOpenBesideProgram(host, "搜索结果.csv"_gbk, BuildResultExport(list, facts, matchedNames(list)),
                            "搜索结果写入失败！"_gbk);
}

}  // namespace tarnwell
