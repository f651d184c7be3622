#include "search/name_statistics.h"

#include <memory>

#include "platform/csv_writer.h"
#include "platform/gbk_literal.h"
#include "search/name_matcher.h"

namespace tarnwell {

std::vector<NameHits> CountNameHits(const NameList& names, MatchMode mode, const RowFileNames& rows) {
  std::vector<NameHits> hits(names.size());
  if (names.empty()) return hits;
  const NameMatcher matcher(std::make_shared<const NameList>(names));
  MatchScratch scratch;
  for (int row = 0, count = rows.RowCount(); row < count; ++row) {
    matcher.Match(rows.FileName(row), mode, scratch);
    for (std::uint32_t name : scratch.Matches()) {
      NameHits& hit = hits[name];
      if (hit.rows++ == 0) hit.firstRow = row;
    }
  }
  return hits;
}

std::string BuildNameStatistics(const NameList& names, MatchMode mode, const RowFileNames& rows) {
  const std::vector<NameHits> hits = CountNameHits(names, mode, rows);
  CsvWriter csv;
  csv.Field("名称"_gbk).Field("找到的文件数"_gbk).Field("第一个文件"_gbk).EndLine();
  for (std::size_t i = 0; i < names.size(); ++i) {
    csv.Field(names[i]).Field(std::to_string(hits[i].rows));
    csv.Field(hits[i].firstRow >= 0 ? rows.Path(hits[i].firstRow) : Text()).EndLine();
  }
  return csv.Bytes();
}

}  // namespace tarnwell
