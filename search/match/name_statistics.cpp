#include "search/match/name_statistics.h"

#include <algorithm>
#include <memory>

#include "platform/text/csv_writer.h"
#include "platform/text/gbk_literal.h"
#include "search/match/name_matcher.h"

namespace tarnwell {

std::vector<NameHits> CountNameHits(const NameList& names, MatchRules rules, const RowFileNames& rows) {
  std::vector<NameHits> hits(names.size());
  if (names.empty()) return hits;
  const NameMatcher matcher(std::make_shared<const NameList>(names), rules.numbers);
  MatchScratch scratch;
  for (int row = 0, count = rows.RowCount(); row < count; ++row) {
    matcher.Match(rows.FileName(row), rules.mode, scratch);
    for (std::uint32_t name : scratch.Matches()) {
      NameHits& hit = hits[name];
      if (hit.rows++ == 0) hit.firstRow = row;
    }
  }
  return hits;
}

std::vector<int> FirstMatchingNames(const NameList& names, MatchRules rules, const RowFileNames& rows) {
  std::vector<int> first(static_cast<std::size_t>(std::max(rows.RowCount(), 0)), -1);
  if (names.empty()) return first;
  const NameMatcher matcher(std::make_shared<const NameList>(names), rules.numbers);
  MatchScratch scratch;
  for (std::size_t row = 0; row < first.size(); ++row) {
    matcher.Match(rows.FileName(static_cast<int>(row)), rules.mode, scratch);
    if (!scratch.Matches().empty()) first[row] = static_cast<int>(scratch.Matches().front());
  }
  return first;
}

std::string BuildNameStatistics(const NameList& names, MatchRules rules, const RowFileNames& rows) {
  const std::vector<NameHits> hits = CountNameHits(names, rules, rows);
  CsvWriter csv;
  csv.Field("名称"_gbk).Field("找到的文件数"_gbk).Field("第一个文件"_gbk).EndLine();
  for (std::size_t i = 0; i < names.size(); ++i) {
    csv.Field(names[i]).Field(std::to_string(hits[i].rows));
    csv.Field(hits[i].firstRow >= 0 ? rows.Path(hits[i].firstRow) : Text()).EndLine();
  }
  return csv.Bytes();
}

}  // namespace tarnwell
