// One long text searched for many short ones: the answer for each is the
// one FindText gives, but the text's letters are folded and its character
// boundaries marked once, and each search then runs as a plain byte search.
// Along any match the two texts split into characters alike (the bytes that
// decide where a character starts are equal, and folding never changes
// them); only where the sought text ends inside a four-byte character of the
// text does it split that character differently, and none of those bytes is
// a letter. So folding each text by its own characters and comparing the
// folded bytes compares what FindText does.
#pragma once

#include <string_view>
#include <vector>

#include "platform/text/text.h"

namespace tarnwell {

class TextSearch {
 public:
  TextSearch(std::string_view text, bool ignoreCase);
  // FindText(text, sought, ignoreCase): the 1-based position of the first
  // match that starts on a character boundary, or -1.
  int Find(std::string_view sought) const;

 private:
  Text Folded(std::string_view s) const;

  bool ignoreCase_;
  Text text_;                          // folded when case is ignored
  std::vector<bool> startsCharacter_;  // per byte of text_
};

}  // namespace tarnwell
