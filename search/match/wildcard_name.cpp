#include "search/match/wildcard_name.h"

#include <algorithm>

#include "platform/text/text.h"

namespace tarnwell {

WildcardName::WildcardName(std::string_view folded) {
  std::size_t i = 0;
  while (i < folded.size()) {
    std::size_t length = CharacterLength(folded, i);
    Token token{Token::Character, static_cast<std::uint8_t>(length), {}};
    std::copy_n(folded.data() + i, length, token.bytes);
    if (folded[i] == '*') token.kind = Token::AnyRun;
    if (folded[i] == '?') token.kind = Token::AnyOne;
    // Runs of "*" act as one.
    if (!(token.kind == Token::AnyRun && !exact_.empty() && exact_.back().kind == Token::AnyRun)) {
      exact_.push_back(token);
    }
    i += length;
  }
  Token anyRun{Token::AnyRun, 1, {'*'}};
  if (exact_.empty() || exact_.front().kind != Token::AnyRun) fuzzy_.push_back(anyRun);
  fuzzy_.insert(fuzzy_.end(), exact_.begin(), exact_.end());
  if (fuzzy_.back().kind != Token::AnyRun) fuzzy_.push_back(anyRun);
}

// Glob matching over whole characters: on a mismatch the most recent "*"
// takes one more character and matching resumes after it. Going back to the
// latest "*" only is enough, since an earlier one could only take what the
// latest can take as well.
bool WildcardName::MatchesWhole(const std::vector<Token>& tokens, std::string_view name) const {
  std::size_t t = 0;
  std::size_t n = 0;
  std::size_t starToken = tokens.size();  // none yet
  std::size_t starName = 0;
  while (n < name.size()) {
    std::size_t length = CharacterLength(name, n);
    if (t < tokens.size()) {
      const Token& token = tokens[t];
      if (token.kind == Token::AnyRun) {
        starToken = t++;
        starName = n;
        continue;
      }
      if (token.kind == Token::AnyOne ||
          (token.length == length && name.compare(n, length, token.bytes, length) == 0)) {
        ++t;
        n += length;
        continue;
      }
    }
    if (starToken == tokens.size()) return false;
    t = starToken + 1;
    starName += CharacterLength(name, starName);
    n = starName;
  }
  while (t < tokens.size() && tokens[t].kind == Token::AnyRun) ++t;
  return t == tokens.size();
}

bool WildcardName::MatchesExact(std::string_view foldedName) const {
  if (MatchesWhole(exact_, foldedName)) return true;
  // Each "." that is a character of its own (not a byte inside a longer
  // character) ends a candidate part.
  for (std::size_t i = 0; i < foldedName.size(); i += CharacterLength(foldedName, i)) {
    if (foldedName[i] == '.' && MatchesWhole(exact_, foldedName.substr(0, i))) return true;
  }
  return false;
}

bool WildcardName::MatchesFuzzy(std::string_view foldedName) const {
  return MatchesWhole(fuzzy_, foldedName);
}

}  // namespace tarnwell
