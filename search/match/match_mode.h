// How a wanted name meets a file name: Exact when the file's name is the
// wanted name with or without an extension, Fuzzy when the wanted name occurs
// anywhere in the file's name.
#pragma once

namespace tarnwell {

enum class MatchMode { Exact, Fuzzy };

// Whether a wanted name made only of ASCII digits matches by number (see
// search/number_names.h) instead of by the mode's rules, in either mode.
enum class NumberRule { Off, On };

// The rules a search matched by. A mode alone is its rules without the
// number rule.
struct MatchRules {
  MatchRules(MatchMode matchMode = MatchMode::Exact, NumberRule numberRule = NumberRule::Off)
      : mode(matchMode), numbers(numberRule) {}
  MatchMode mode;
  NumberRule numbers;
};

}  // namespace tarnwell
