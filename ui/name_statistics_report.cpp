#include "ui/name_statistics_report.h"

#include "platform/text/gbk_literal.h"
#include "results/report_file.h"
#include "search/match/name_statistics.h"
#include "search/names/names_box.h"

namespace tarnwell {
namespace {

class ResultRows final : public RowFileNames {
 public:
  explicit ResultRows(const ResultList& list) : list_(list) {}
  int RowCount() const override { return list_.RowCount(); }
  Text FileName(int row) const override { return list_.RowFileName(row); }
  Text Path(int row) const override { return list_.RowText(row); }

 private:
  const ResultList& list_;
};

NameList BoxNames(ResultHost& host) { return SplitText(RebuildNamesBox(host.NamesBoxContent()), "\r\n"); }

}  // namespace

void NameStatisticsReport(const ResultList& list, MatchRules rules, ResultHost& host) {
  WriteAndOpenBesideProgram(host, "名称统计.csv"_gbk, BuildNameStatistics(BoxNames(host), rules, ResultRows(list)),
                            "名称统计写入失败！"_gbk);
}

TextList MatchedNamesOfRows(const ResultList& list, MatchRules rules, ResultHost& host) {
  const NameList names = BoxNames(host);
  TextList matched;
  for (int first : FirstMatchingNames(names, rules, ResultRows(list))) {
    matched.push_back(first >= 0 ? names[static_cast<std::size_t>(first)] : Text());
  }
  return matched;
}

}  // namespace tarnwell
