// Per-name statistics over the result list: for every wanted name, how many
// rows it matches and the first of them, under the search's own matching
// rules (NameMatcher). One pass over the rows: each row's file name is
// matched once against all names, so 10,000 names over a million rows cost
// about what one search's matching costs, not names x rows.
//
// It lives here, beside the matcher it runs; the rows reach it through
// RowFileNames, so nothing of the result list is included (the window wires
// the two together, see ui/name_statistics_report.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/text.h"
#include "search/match/match_mode.h"
#include "search/names/names_box.h"

namespace tarnwell {

class RowFileNames {
 public:
  virtual int RowCount() const = 0;
  // The part of the row's path after its last "\".
  virtual Text FileName(int row) const = 0;
  virtual Text Path(int row) const = 0;

 protected:
  ~RowFileNames() = default;
};

struct NameHits {
  std::uint32_t rows = 0;  // rows whose file name the name matches
  int firstRow = -1;       // the first of them, or -1
};

// One entry per name, in the order of `names`; a name given twice gets the
// same figures twice.
std::vector<NameHits> CountNameHits(const NameList& names, MatchRules rules, const RowFileNames& rows);

// Per row, the index of the first of `names` that matches the row's file
// name, or -1 when none does: the same one pass over the rows.
std::vector<int> FirstMatchingNames(const NameList& names, MatchRules rules, const RowFileNames& rows);

// The statistics file: UTF-8 with a byte-order mark, header
// 名称,找到的文件数,第一个文件, then per name its text, its row count and the
// first row's path (empty when none).
std::string BuildNameStatistics(const NameList& names, MatchRules rules, const RowFileNames& rows);

}  // namespace tarnwell
