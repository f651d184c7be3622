// Letter case of file names as the Windows file system ignores it, on the
// program's GB18030 bytes. Every letter that GBK holds in both cases folds to
// one form: ASCII, full-width Latin, Greek, Cyrillic and the Roman numerals.
// Chinese has no case, and four-byte characters (those GBK lacks) are left
// as they are. Folding keeps every character's length, so positions in a
// folded name are positions in the name.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/text/text.h"

namespace tarnwell {

// Writes the folded form of `name` into `folded`. When `starts` is given it
// receives name.size() + 1 marks: 1 where a character starts (and at the
// end), 0 on the other bytes of a character (CharacterLength says which).
void FoldNameCase(std::string_view name, Text& folded, std::vector<std::uint8_t>* starts = nullptr);

Text FoldedNameCase(std::string_view name);

// True when `name` holds "\" or "/" as a character of its own (not as a
// byte inside a longer character).
bool HoldsPathSeparator(std::string_view name);

}  // namespace tarnwell
