#include "search/match/name_matcher.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "search/match/exact_names.h"
#include "search/match/fuzzy_names.h"
#include "search/match/name_case.h"
#include "search/match/wildcard_name.h"

namespace tarnwell {
namespace {

bool HoldsWildcard(std::string_view name) {
  // A "*" or "?" inside a longer character (after a lead byte that is no
  // GBK character's) only sends the name to the wildcard matcher, which
  // reads it as the character it is part of.
  return name.find_first_of("*?") != std::string_view::npos;
}

}  // namespace

struct NameMatcher::Compiled {
  std::optional<ExactNames> exact;
  std::optional<FuzzyNames> fuzzy;
  std::vector<std::pair<std::uint32_t, WildcardName>> wildcards;  // in NameList order
  // Whether any name is matched on the folded file name: a list of photo
  // numbers alone under the number rule never needs it.
  bool foldedNames = false;
};

NameMatcher::NameMatcher(std::shared_ptr<const NameList> names, NumberRule numbers)
    : names_(std::move(names)), numberRule_(numbers) {
  if (numberRule_ == NumberRule::Off) return;
  for (std::size_t i = 0; i < names_->size(); ++i) {
    const Text& name = (*names_)[i];
    if (NumberNames::IsNumber(name)) numbers_.Add(name, static_cast<std::uint32_t>(i));
  }
}

NameMatcher::~NameMatcher() = default;

const NameMatcher::Compiled& NameMatcher::CompiledFor(MatchMode mode) const {
  int slot = mode == MatchMode::Exact ? 0 : 1;
  std::call_once(compiledOnce_[slot], [&] {
    auto compiled = std::make_unique<Compiled>();
    TextList plain;
    std::vector<std::uint32_t> plainIndices;
    for (std::size_t i = 0; i < names_->size(); ++i) {
      const Text& name = (*names_)[i];
      if (HoldsPathSeparator(name)) continue;
      if (numberRule_ == NumberRule::On && NumberNames::IsNumber(name)) continue;  // matched by number only
      Text folded = FoldedNameCase(name);
      if (HoldsWildcard(name)) {
        compiled->wildcards.emplace_back(static_cast<std::uint32_t>(i), WildcardName(folded));
      } else {
        plain.push_back(std::move(folded));
        plainIndices.push_back(static_cast<std::uint32_t>(i));
      }
    }
    compiled->foldedNames = !plain.empty() || !compiled->wildcards.empty();
    if (mode == MatchMode::Exact) {
      compiled->exact.emplace(plain, plainIndices);
    } else {
      compiled->fuzzy.emplace(plain, plainIndices);
    }
    compiled_[slot] = std::move(compiled);
  });
  return *compiled_[slot];
}

// The listed name only, never a file's 8.3 alias: kept on purpose (docs/behaviour.md).
void NameMatcher::Match(std::string_view fileName, MatchMode mode, MatchScratch& scratch) const {
  const Compiled& compiled = CompiledFor(mode);
  scratch.matches_.clear();
  if (compiled.foldedNames) MatchFolded(fileName, mode, compiled, scratch);
  numbers_.Match(fileName, [&](std::uint32_t index) { scratch.matches_.push_back(index); });
  if (scratch.matches_.size() > 1) {
    std::sort(scratch.matches_.begin(), scratch.matches_.end());
    // A file name can hold one number twice; it is still one match.
    scratch.matches_.erase(std::unique(scratch.matches_.begin(), scratch.matches_.end()), scratch.matches_.end());
  }
}

void NameMatcher::MatchFolded(std::string_view fileName, MatchMode mode, const Compiled& compiled,
                              MatchScratch& scratch) const {
  FoldNameCase(fileName, scratch.folded_, mode == MatchMode::Fuzzy ? &scratch.starts_ : nullptr);
  if (compiled.exact) {
    compiled.exact->Match(scratch.folded_, [&](std::uint32_t index) { scratch.matches_.push_back(index); });
  } else {
    // A name can occur more than once in a file name; the stamps keep one match per name.
    if (scratch.seenStamp_.size() != names_->size()) {
      scratch.seenStamp_.assign(names_->size(), 0);
      scratch.stamp_ = 0;
    }
    if (++scratch.stamp_ == 0) {
      std::fill(scratch.seenStamp_.begin(), scratch.seenStamp_.end(), 0);
      scratch.stamp_ = 1;
    }
    compiled.fuzzy->Match(scratch.folded_, scratch.starts_, [&](std::uint32_t index) {
      if (scratch.seenStamp_[index] == scratch.stamp_) return;
      scratch.seenStamp_[index] = scratch.stamp_;
      scratch.matches_.push_back(index);
    });
  }
  for (const auto& [index, wildcard] : compiled.wildcards) {
    bool matches = mode == MatchMode::Exact ? wildcard.MatchesExact(scratch.folded_)
                                            : wildcard.MatchesFuzzy(scratch.folded_);
    if (matches) scratch.matches_.push_back(index);
  }
}

}  // namespace tarnwell
