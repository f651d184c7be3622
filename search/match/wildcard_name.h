// A wanted name holding "*" (any run of characters, also none) or "?"
// (exactly one character, of one, two or four bytes). Exact mode uses the
// pattern name + ".*", which holds for a file name when the name matches the
// whole file name or the part before one of its dots; fuzzy mode uses "*" +
// name + "*". Case is folded on both sides beforehand.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tarnwell {

class WildcardName {
 public:
  // `folded` is the case-folded wanted name.
  explicit WildcardName(std::string_view folded);

  bool MatchesExact(std::string_view foldedName) const;
  bool MatchesFuzzy(std::string_view foldedName) const;

 private:
  struct Token {
    enum Kind : std::uint8_t { Character, AnyOne, AnyRun } kind;
    std::uint8_t length;  // bytes of the character
    char bytes[4];
  };
  bool MatchesWhole(const std::vector<Token>& tokens, std::string_view name) const;

  std::vector<Token> exact_;
  std::vector<Token> fuzzy_;
};

}  // namespace tarnwell
