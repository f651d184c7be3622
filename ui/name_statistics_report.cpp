#include "ui/name_statistics_report.h"

#include "platform/gbk_literal.h"
#include "results/report_file.h"
#include "search/name_statistics.h"
#include "search/names_box.h"

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

}  // namespace

void NameStatisticsReport(const ResultList& list, MatchMode mode, ResultHost& host) {
  const NameList names = SplitText(RebuildNamesBox(host.NamesBoxContent()), "\r\n");
  WriteAndOpenBesideProgram(host, "名称统计.csv"_gbk, BuildNameStatistics(names, mode, ResultRows(list)),
                            "名称统计写入失败！"_gbk);
}

}  // namespace tarnwell
