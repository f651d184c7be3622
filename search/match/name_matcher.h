// All wanted names of one search, compiled once per match mode into the
// three matchers of that mode: a hash lookup for plain names (exact), an
// automaton for plain names (fuzzy), and one wildcard matcher per name that
// holds "*" or "?". A mode is compiled the first time it is asked for, so a
// change of mode during a search costs one compilation. A wanted name that
// holds "\" or "/" matches nothing. Under the number rule, the names made
// only of ASCII digits match by number in both modes (search/number_names.h)
// and by nothing else.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/text/text.h"
#include "search/match/match_mode.h"
#include "search/names/names_box.h"
#include "search/match/number_names.h"

namespace tarnwell {

// One thread's working memory for matching, reused from name to name so that
// matching allocates nothing once warm.
class MatchScratch {
 public:
  // The indices of the wanted names that the last file name matched, in
  // ascending (NameList) order, each once.
  const std::vector<std::uint32_t>& Matches() const { return matches_; }

 private:
  friend class NameMatcher;
  std::vector<std::uint32_t> matches_;
  Text folded_;
  std::vector<std::uint8_t> starts_;
  std::vector<std::uint32_t> seenStamp_;  // per wanted name: the stamp of the last name that matched it
  std::uint32_t stamp_ = 0;
};

class NameMatcher {
 public:
  explicit NameMatcher(std::shared_ptr<const NameList> names, NumberRule numbers = NumberRule::Off);
  ~NameMatcher();
  NameMatcher(const NameMatcher&) = delete;
  NameMatcher& operator=(const NameMatcher&) = delete;

  // Finds the wanted names that `fileName` matches in `mode`; the result is
  // scratch.Matches(). Safe from several threads at once, each with its own scratch.
  void Match(std::string_view fileName, MatchMode mode, MatchScratch& scratch) const;

  const NameList& Names() const { return *names_; }
  NumberRule Numbers() const { return numberRule_; }

 private:
  struct Compiled;
  const Compiled& CompiledFor(MatchMode mode) const;
  // The exact, fuzzy and wildcard names against the file name in one case.
  void MatchFolded(std::string_view fileName, MatchMode mode, const Compiled& compiled, MatchScratch& scratch) const;

  std::shared_ptr<const NameList> names_;
  NumberRule numberRule_;
  NumberNames numbers_;  // empty without the number rule
  mutable std::once_flag compiledOnce_[2];
  mutable std::unique_ptr<Compiled> compiled_[2];
};

}  // namespace tarnwell
