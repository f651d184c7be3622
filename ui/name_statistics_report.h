// The 名称统计 command: the per-name statistics of the names box's current
// lines over the result list's current rows, written beside the program as
// "名称统计.csv" and opened with the shell; and the export's column of the
// wanted name that finds each row. The matching itself is the search's
// (search/name_statistics.h); this joins it to the result list, which the
// layering keeps apart from the search.
#pragma once

#include "results/result_host.h"
#include "results/result_list.h"
#include "search/match/match_mode.h"

namespace tarnwell {

// The names are the lines of the names box as a search would rebuild it
// (blank lines skipped), matched by `rules`, the last search's rules. When the
// file cannot be written a message box says so and nothing is opened.
void NameStatisticsReport(const ResultList& list, MatchRules rules, ResultHost& host);

// Per row of the list, the first of those names (in the box's order) that
// matches it under `rules`; empty when none does.
TextList MatchedNamesOfRows(const ResultList& list, MatchRules rules, ResultHost& host);

}  // namespace tarnwell
