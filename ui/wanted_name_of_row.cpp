#include "ui/wanted_name_of_row.h"

#include "platform/text/text.h"
#include "search/names/names_box.h"

namespace tarnwell {

WantedNameOfRow::WantedNameOfRow(std::string_view namesBox, MatchRules rules) : rules_(rules) {
  // The names as the statistics and the export take them (ui/name_statistics_report.cpp).
  auto names = std::make_shared<NameList>(SplitText(RebuildNamesBox(namesBox), "\r\n"));
  if (!names->empty()) matcher_ = std::make_unique<NameMatcher>(std::move(names), rules.numbers);
}

Text WantedNameOfRow::For(std::string_view fileName) const {
  if (!matcher_) return {};
  matcher_->Match(fileName, rules_.mode, scratch_);
  if (scratch_.Matches().empty()) return {};
  return matcher_->Names()[scratch_.Matches().front()];
}

}  // namespace tarnwell
