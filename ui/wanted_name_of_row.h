// The wanted name that finds a row, as the export's 匹配名称 column has it:
// the first line of the names box (in the box's order, blank lines
// skipped) that matches the row's file name under the last search's rules;
// empty when none does. The names are compiled once, when the thumbnail
// window opens; each row is matched when it is first shown.
#pragma once

#include <memory>
#include <string_view>

#include "platform/text/text.h"
#include "search/match/match_mode.h"
#include "search/match/name_matcher.h"

namespace tarnwell {

class WantedNameOfRow {
 public:
  WantedNameOfRow(std::string_view namesBox, MatchRules rules);

  Text For(std::string_view fileName) const;

 private:
  MatchRules rules_;
  std::unique_ptr<NameMatcher> matcher_;  // null when the box holds no name
  mutable MatchScratch scratch_;
};

}  // namespace tarnwell
