#include "platform/text/text_search.h"

namespace tarnwell {

TextSearch::TextSearch(std::string_view text, bool ignoreCase)
    : ignoreCase_(ignoreCase), text_(Folded(text)), startsCharacter_(text.size(), false) {
  for (std::size_t i = 0; i < text.size(); i += CharacterLength(text, i)) startsCharacter_[i] = true;
}

Text TextSearch::Folded(std::string_view s) const {
  Text folded(s);
  if (!ignoreCase_) return folded;
  // Only characters of one byte fold: the other bytes of a character are compared as they are.
  for (std::size_t i = 0, length = 0; i < folded.size(); i += length) {
    length = CharacterLength(s, i);
    unsigned char byte = static_cast<unsigned char>(folded[i]);
    if (length == 1 && byte >= 'A' && byte <= 'Z') folded[i] = static_cast<char>(byte - 'A' + 'a');
  }
  return folded;
}

int TextSearch::Find(std::string_view sought) const {
  if (sought.empty()) return text_.empty() ? -1 : 1;
  const Text key = Folded(sought);
  for (std::size_t at = text_.find(key); at != Text::npos; at = text_.find(key, at + 1)) {
    if (startsCharacter_[at]) return static_cast<int>(at) + 1;
  }
  return -1;
}

}  // namespace tarnwell
